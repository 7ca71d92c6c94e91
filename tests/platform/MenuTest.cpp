#include <Application.h>
#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ControlsTestSupport.h"

namespace {

using namespace kxtest;

const rgb_color kBoardColor = {0, 128, 0, 255};

BPoint Middle(BRect rect)
{
    return BPoint(floorf((rect.left + rect.right) / 2), floorf((rect.top + rect.bottom) / 2));
}

// The game's window: a board view and, added after it, a bar with one menu
// of five items.
class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<BApplication>("application/x-vnd-test");
        window = new RecordingWindow(BRect(30, 30, 189, 298), "menus");
        board = new SolidView(BRect(0, 20, 159, 268), kBoardColor);
        window->AddChild(board);
        bar = new BMenuBar(BRect(0, 0, 160, 10), "MainMenu");
        menu = new BMenu("Menu");
        const char* labels[] = {"New Game", "Give Up", "CPU Play", "About...", "Quit"};
        const uint32 codes[] = {2, 1, 4, 5, 3};
        for (int i = 0; i < 5; i++)
            menu->AddItem(new BMenuItem(labels[i], new BMessage(codes[i])));
        bar->AddItem(menu);
        window->AddChild(bar);
        window->Show();
        harness.Start();
        ASSERT_TRUE(Idle(window));
    }

    void TearDown() override { EXPECT_TRUE(harness.Quit()); }

    BPoint Title() const { return Middle(bar->ConvertToWindow(bar->_ItemFrame(0))); }
    // Only while the menu is open.
    BPoint Item(int32 index) const { return Middle(menu->ConvertToWindow(menu->_ItemFrame(index))); }
    BRect MenuFrame() const { return menu->ConvertToWindow(menu->Bounds()); }
    bool IsOpen() const { return bar->_OpenMenu() != nullptr; }

    HeadlessApp harness;
    std::unique_ptr<BApplication> app;
    RecordingWindow* window = nullptr;
    SolidView* board = nullptr;
    BMenuBar* bar = nullptr;
    BMenu* menu = nullptr;
};

TEST_F(MenuTest, BarTakesItsHeightFromTheFontAndSpansTheWindow)
{
    font_height height;
    be_plain_font->GetHeight(&height);
    float lineHeight = ceilf(height.ascent + height.descent + height.leading);
    BRect frame = bar->Frame();
    EXPECT_EQ(frame.LeftTop(), BPoint(0, 0));
    EXPECT_EQ(frame.Width(), window->Bounds().Width());
    EXPECT_GE(frame.Height() + 1, lineHeight);
    EXPECT_LE(frame.Height() + 1, lineHeight + 8);
    // The default font leaves the bar above a view that starts 20 pixels down.
    EXPECT_LE(frame.bottom, 19);

    // The title is written in the bar, which ends in an edge darker than it.
    BRect title = bar->_ItemFrame(0);
    int ink = 0;
    for (int32 y = (int32)title.top; y <= (int32)title.bottom; y++) {
        for (int32 x = (int32)title.left; x <= (int32)title.right; x++)
            ink += IsInk(harness.display.PixelAt(window, x, y));
    }
    EXPECT_GT(ink, 10);
    uint32 edge = harness.display.PixelAt(window, 150, (int32)frame.bottom);
    uint32 face = harness.display.PixelAt(window, 150, (int32)frame.bottom - 2);
    EXPECT_LT(edge & 0xff, face & 0xff);
}

TEST_F(MenuTest, ItemsKeepTheirOrderLabelsAndTheWindowAsTarget)
{
    ASSERT_EQ(bar->CountItems(), 1);
    EXPECT_EQ(bar->SubmenuAt(0), menu);
    EXPECT_EQ(menu->Supermenu(), bar);
    ASSERT_EQ(menu->CountItems(), 5);
    EXPECT_STREQ(menu->ItemAt(2)->Label(), "CPU Play");
    EXPECT_EQ(menu->ItemAt(2)->Menu(), menu);
    EXPECT_EQ(menu->ItemAt(2)->Message()->what, 4u);
    EXPECT_EQ(menu->ItemAt(5), nullptr);
    uint32 modifiers = 1;
    EXPECT_EQ(menu->ItemAt(0)->Shortcut(&modifiers), 0);
    EXPECT_EQ(modifiers, 0u);
    // Found through the bar, too.
    EXPECT_EQ(bar->FindItem("Quit"), menu->ItemAt(4));
    EXPECT_EQ(bar->FindItem("Missing"), nullptr);
    for (int32 i = 0; i < menu->CountItems(); i++)
        EXPECT_EQ(menu->ItemAt(i)->Target(), window);

    window->Lock();
    BMenuItem* removed = menu->RemoveItem(1);
    ASSERT_NE(removed, nullptr);
    EXPECT_EQ(removed->Menu(), nullptr);
    EXPECT_STREQ(menu->ItemAt(1)->Label(), "CPU Play");
    EXPECT_TRUE(menu->AddItem(removed, 0));
    EXPECT_FALSE(menu->AddItem(removed));
    // An item added after the bar joined the window sends there as well.
    auto* late = new BMenuItem("Late", new BMessage(9));
    menu->AddItem(late);
    window->Unlock();
    EXPECT_EQ(menu->IndexOf(removed), 0);
    EXPECT_EQ(late->Target(), window);
}

TEST_F(MenuTest, PressMoveAndReleaseChoosesTheItemUnderThePointer)
{
    ASSERT_TRUE(Press(harness, window, Title()));
    ASSERT_TRUE(IsOpen());
    EXPECT_EQ(menu->Window(), window);
    ASSERT_TRUE(MoveHeld(harness, window, Item(2)));
    EXPECT_EQ(menu->_Selected(), 2);
    ASSERT_TRUE(Release(harness, window));

    EXPECT_EQ(window->Codes(), std::vector<uint32>{4});
    EXPECT_FALSE(IsOpen());
    // Nothing of the menu stays in the window.
    EXPECT_EQ(window->CountChildren(), 2);
    EXPECT_EQ(menu->Window(), nullptr);
}

TEST_F(MenuTest, ReleaseAwayFromTheItemsSendsNothing)
{
    ASSERT_TRUE(Press(harness, window, Title()));
    ASSERT_TRUE(MoveHeld(harness, window, Item(1)));
    ASSERT_TRUE(MoveHeld(harness, window, BPoint(150, 250)));
    EXPECT_EQ(menu->_Selected(), -1);
    ASSERT_TRUE(Release(harness, window));
    EXPECT_TRUE(window->Codes().empty());
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(board->presses.load(), 0);
}

TEST_F(MenuTest, ClickOnTheTitleKeepsTheMenuOpenForTheNextClick)
{
    ASSERT_TRUE(ClickAt(harness, window, Title()));
    ASSERT_TRUE(IsOpen());
    // Without a button the item under the pointer is still shown chosen.
    ASSERT_TRUE(MoveHeld(harness, window, Item(3)));
    EXPECT_EQ(menu->_Selected(), 3);
    ASSERT_TRUE(ClickAt(harness, window, Item(1)));
    EXPECT_EQ(window->Codes(), std::vector<uint32>{1});
    EXPECT_FALSE(IsOpen());

    // A click anywhere else puts it away and does not reach the view there.
    ASSERT_TRUE(ClickAt(harness, window, Title()));
    ASSERT_TRUE(IsOpen());
    ASSERT_TRUE(ClickAt(harness, window, BPoint(150, 250)));
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(board->presses.load(), 0);

    // So does a second click on the title.
    ASSERT_TRUE(ClickAt(harness, window, Title()));
    ASSERT_TRUE(ClickAt(harness, window, Title()));
    EXPECT_FALSE(IsOpen());
    EXPECT_EQ(window->Codes(), std::vector<uint32>{1});

    // With the menu closed, the view gets its clicks again.
    ASSERT_TRUE(ClickAt(harness, window, BPoint(150, 250)));
    EXPECT_EQ(board->presses.load(), 1);
}

TEST_F(MenuTest, OpenMenuCoversTheViewBelowWhichIsRedrawnAfterwards)
{
    ASSERT_TRUE(Press(harness, window, Title()));
    ASSERT_TRUE(IsOpen());
    BRect frame = MenuFrame();
    EXPECT_TRUE(window->Bounds().Contains(frame));
    EXPECT_EQ(frame.top, bar->Frame().bottom + 1);
    ASSERT_GT(frame.bottom, 30);
    // A point of the menu that lies over the board, left of every label.
    BPoint probe(frame.left + 2, frame.bottom - 2);
    EXPECT_NE(Rgb(harness.display.PixelAt(window, probe.x, probe.y)), Rgb(kBoardColor));

    // The board drawing itself again does not paint over the open menu.
    window->Lock();
    board->Invalidate();
    window->Unlock();
    ASSERT_TRUE(Idle(window));
    EXPECT_NE(Rgb(harness.display.PixelAt(window, probe.x, probe.y)), Rgb(kBoardColor));

    // The chosen item stands out from the others.
    ASSERT_TRUE(MoveHeld(harness, window, Item(1)));
    BRect chosen = menu->ConvertToWindow(menu->_ItemFrame(1));
    BRect other = menu->ConvertToWindow(menu->_ItemFrame(3));
    EXPECT_NE(harness.display.PixelAt(window, chosen.left + 1, chosen.top + 1),
        harness.display.PixelAt(window, other.left + 1, other.top + 1));

    ASSERT_TRUE(MoveHeld(harness, window, BPoint(150, 250)));
    ASSERT_TRUE(Release(harness, window));
    ASSERT_FALSE(IsOpen());
    for (int32 y = (int32)std::max(frame.top, 20.0f); y <= (int32)frame.bottom; y++) {
        for (int32 x = (int32)frame.left; x <= (int32)frame.right; x++)
            ASSERT_EQ(Rgb(harness.display.PixelAt(window, x, y)), Rgb(kBoardColor)) << x << "," << y;
    }
}

TEST_F(MenuTest, RemovingTheBarOrQuittingWithTheMenuOpenLeavesNothingBehind)
{
    ASSERT_TRUE(ClickAt(harness, window, Title()));
    ASSERT_TRUE(IsOpen());
    window->Lock();
    ASSERT_TRUE(window->RemoveChild(bar));
    EXPECT_EQ(window->CountChildren(), 1);
    EXPECT_EQ(menu->Window(), nullptr);
    window->AddChild(bar);
    window->Unlock();
    ASSERT_TRUE(Idle(window));

    ASSERT_TRUE(ClickAt(harness, window, Title()));
    ASSERT_TRUE(IsOpen());
    // The window goes down with the menu open: TearDown quits.
}

TEST(Menu, StaysBelowItsTitleInsideAWindowSmallerThanItself)
{
    TestApp test;
    auto* window = new RecordingWindow(BRect(300, 300, 359, 359), "narrow");
    auto* bar = new BMenuBar(BRect(0, 0, 59, 10), "bar");
    auto* second = new BMenu("Long");
    for (int i = 0; i < 6; i++)
        second->AddItem(new BMenuItem("A label wider than the window", new BMessage(10 + i)));
    bar->AddItem(new BMenu("A"));
    bar->AddItem(second);
    window->AddChild(bar);
    window->Show();
    test.harness.Start();
    ASSERT_TRUE(Idle(window));

    BPoint title = Middle(bar->ConvertToWindow(bar->_ItemFrame(1)));
    ASSERT_TRUE(window->Bounds().Contains(title));
    ASSERT_TRUE(Press(test.harness, window, title));
    ASSERT_EQ(bar->_OpenMenu(), second);
    BRect frame = second->ConvertToWindow(second->Bounds());
    EXPECT_TRUE(window->Bounds().Contains(frame));
    EXPECT_EQ(frame.top, bar->Frame().bottom + 1);
    EXPECT_EQ(frame.bottom, window->Bounds().bottom);
    // The release on the title is not taken for a choice.
    ASSERT_TRUE(Release(test.harness, window));
    EXPECT_EQ(bar->_OpenMenu(), second);
    EXPECT_TRUE(window->Codes().empty());
}

} // namespace
