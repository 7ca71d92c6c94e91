#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>

#include <gtest/gtest.h>

#include <cmath>

#include "ControlsTestSupport.h"

namespace {

using namespace kxtest;

BPoint
Middle(BRect rect)
{
	return BPoint(floorf((rect.left + rect.right) / 2),
		floorf((rect.top + rect.bottom) / 2));
}

// The game's window: a board view and, added after it, a bar with one menu
// of five items; away from it, a hidden modal box without a close box whose
// loop already runs.
class GameWindow : public WindowFixture {
protected:
	void
	SetUp() override
	{
		window = new RecordingWindow(BRect(30, 30, 189, 298));
		board = new ProbeView(BRect(0, 20, 159, 268));
		window->AddChild(board);
		bar = new BMenuBar(BRect(0, 0, 160, 10), "MainMenu");
		menu = new BMenu("Menu");
		for (uint32 code = 1; code <= 5; code++)
			menu->AddItem(new BMenuItem("An item", new BMessage(code)));
		bar->AddItem(menu);
		window->AddChild(bar);
		box = new RecordingWindow(BRect(240, 40, 450, 175),
			B_MODAL_APP_WINDOW_FEEL,
			B_NOT_RESIZABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE
				| B_NOT_MINIMIZABLE);
		box->Run();
		Open();
	}

	void
	ShowBox(bool show)
	{
		box->Lock();
		show ? box->Show() : box->Hide();
		box->Unlock();
		ASSERT_TRUE(Idle(box));
	}

	BPoint
	Title() const
	{
		return Middle(bar->ConvertToWindow(bar->_ItemFrame(0)));
	}
	// Only while the menu is open.
	BPoint
	Item(int32 index) const
	{
		return Middle(menu->ConvertToWindow(menu->_ItemFrame(index)));
	}
	bool
	IsOpen() const
	{
		return BPrivate::TestAccess::OpenMenu(bar) != nullptr;
	}
	ProbeView*		 board = nullptr;
	BMenuBar*		 bar = nullptr;
	BMenu*			 menu = nullptr;
	RecordingWindow* box = nullptr;
};

TEST_F(GameWindow, PressMoveAndReleaseChoosesTheItemUnderThePointer)
{
	ASSERT_TRUE(Press(Title()));
	ASSERT_TRUE(IsOpen());
	ASSERT_TRUE(MoveHeld(Item(2)));
	ASSERT_TRUE(Release());
	EXPECT_EQ(window->Codes(), std::vector<uint32> { 3 });
	EXPECT_FALSE(IsOpen());

	// Let go beside the menu, a button held on an item chooses nothing.
	for (bool open : { false, true }) {
		ASSERT_TRUE(open ? ClickAt(Title()) && Press(Item(1)) : Press(Title()));
		ASSERT_TRUE(MoveHeld(Item(1)));
		ASSERT_TRUE(MoveHeld(BPoint(150, 250)));
		ASSERT_TRUE(Release());
		EXPECT_EQ(window->Codes(), std::vector<uint32> { 3 });
		EXPECT_FALSE(IsOpen());
	}
	EXPECT_EQ(board->downs.size(), 0u);
}

// A click on the title keeps the menu open for a click on an item.
TEST_F(GameWindow, AClickElsewhereOrOnTheTitleAgainPutsTheOpenMenuAway)
{
	ASSERT_TRUE(ClickAt(Title()));
	ASSERT_TRUE(ClickAt(BPoint(150, 250)));
	EXPECT_FALSE(IsOpen());
	EXPECT_EQ(board->downs.size(), 0u);
	ASSERT_TRUE(ClickAt(Title()));
	ASSERT_TRUE(ClickAt(Title()));
	EXPECT_FALSE(IsOpen());
	EXPECT_TRUE(window->Codes().empty());
	ASSERT_TRUE(ClickAt(BPoint(150, 250)));
	EXPECT_EQ(board->downs.size(), 1u);
	// A press outside every window (at 10, 10 on the screen) reaches none.
	ASSERT_TRUE(ClickAt(BPoint(-20, -20)));
	EXPECT_EQ(board->downs.size(), 1u);
}

TEST_F(GameWindow, OpenMenuCoversTheViewBelowWhichIsRedrawnAfterwards)
{
	EXPECT_EQ(bar->Frame().Width(), window->Bounds().Width());
	ASSERT_TRUE(Press(Title()));
	BRect frame = menu->ConvertToWindow(menu->Bounds());
	EXPECT_TRUE(window->Bounds().Contains(frame));
	EXPECT_EQ(frame.top, bar->Frame().bottom + 1);
	// A point of the menu over the board, left of every label.
	BPoint probe(frame.left + 2, frame.bottom - 2);
	EXPECT_NE(PixelAt(probe), ProbeView::kGreen);
	// The board drawing itself again does not paint over the open menu.
	ASSERT_TRUE(Redraw(board));
	EXPECT_NE(PixelAt(probe), ProbeView::kGreen);
	// The item under the pointer stands out.
	ASSERT_TRUE(MoveHeld(Item(1)));
	EXPECT_NE(PixelAt(BPoint(frame.left + 2, Item(1).y)),
		PixelAt(BPoint(frame.left + 2, Item(3).y)));

	ASSERT_TRUE(MoveHeld(BPoint(150, 250)));
	ASSERT_TRUE(Release());
	for (int32 y = 20; y <= (int32)frame.bottom; y++) {
		for (int32 x = (int32)frame.left; x <= (int32)frame.right; x++)
			ASSERT_EQ(PixelAt(BPoint(x, y)), ProbeView::kGreen)
				<< x << "," << y;
	}

	// Taking the bar away, or quitting, with the menu open leaves nothing
	// behind.
	ASSERT_TRUE(ClickAt(Title()));
	window->Lock();
	ASSERT_TRUE(window->RemoveChild(bar));
	EXPECT_EQ(window->CountChildren(), 1);
	EXPECT_EQ(menu->Window(), nullptr);
	window->AddChild(bar);
	window->Unlock();
	ASSERT_TRUE(ClickAt(Title()));
	ASSERT_TRUE(IsOpen());
	// The window goes down with the menu open as the fixture quits.
}

TEST_F(GameWindow, F10OpensTheMenuForArrowsSpaceAndEscape)
{
	// Each row: the keys after F10, the highlighted item after each of
	// them (-2: the menu is closed), and the code the last one chooses.
	struct Case {
		std::vector<char>	keys;
		std::vector<int32>	selected;
		std::vector<uint32> chosen;
	} cases[] = {
		{ { B_UP_ARROW, B_UP_ARROW, B_DOWN_ARROW, B_SPACE }, { 4, 3, 4, -2 },
			{ 5 } },
		{ { B_DOWN_ARROW, B_ESCAPE }, { 1, -2 }, {} },
		{ { 'x', B_FUNCTION_KEY }, { 0, -2 }, {} },
	};
	for (const Case& c : cases) {
		ASSERT_TRUE(Type(B_FUNCTION_KEY, B_F10_KEY));
		ASSERT_TRUE(IsOpen());
		EXPECT_EQ(menu->_Selected(), 0);
		for (size_t i = 0; i < c.keys.size(); i++) {
			ASSERT_TRUE(
				Type(c.keys[i], c.keys[i] == B_FUNCTION_KEY ? B_F10_KEY : 0));
			EXPECT_EQ(IsOpen() ? menu->_Selected() : -2, c.selected[i]);
		}
		EXPECT_EQ(window->Codes(), c.chosen);
		EXPECT_EQ(window->CountChildren(), 2);
		window->ClearCodes();
	}
	// Other function keys open nothing; the window keeps them.
	ASSERT_TRUE(Type(B_FUNCTION_KEY, B_F9_KEY));
	EXPECT_FALSE(IsOpen());
	EXPECT_EQ(window->Codes(), std::vector<uint32> { B_KEY_DOWN });
}

TEST_F(GameWindow, ShownModalWindowBlocksTheOthersAndStaysInFront)
{
	ShowBox(true);
	EXPECT_TRUE(box->IsFront());
	ASSERT_TRUE(ClickAt(BPoint(50, 50)));
	EXPECT_EQ(board->downs.size(), 0u);
	harness.display.RequestClose(window);
	ASSERT_TRUE(harness.display.WaitForInput() && Idle(window));
	EXPECT_EQ(window->quitRequests.load(), 0);
	window->ClearCodes();
	ASSERT_TRUE(Type('a', 0, 0, window));
	ASSERT_TRUE(Type('a', 0, 0, box));
	EXPECT_TRUE(window->Codes().empty());
	EXPECT_EQ(box->Codes(), std::vector<uint32> { B_KEY_DOWN });

	// Activating the main window leaves it behind the box, on the screen too.
	int32 raises = harness.display.CountRaises(window);
	window->Lock();
	window->Activate();
	window->Unlock();
	EXPECT_TRUE(box->IsFront());
	EXPECT_EQ(harness.display.CountRaises(window), raises);

	ShowBox(false);
	ASSERT_TRUE(ClickAt(BPoint(50, 50)));
	EXPECT_EQ(board->downs.size(), 1u);
	EXPECT_TRUE(board->lockedInHook);
	ASSERT_TRUE(Type('a', 0, 0, window));
	EXPECT_EQ(window->Codes(), std::vector<uint32> { B_KEY_DOWN });
	window->Lock();
	window->Activate();
	window->Unlock();
	EXPECT_TRUE(window->IsFront());
	EXPECT_EQ(harness.display.CountRaises(window), raises + 1);
}

// The game's menu always fits its window; a smaller window clamps the menu.
using SmallWindowMenu = WindowFixture;

TEST_F(SmallWindowMenu, StaysBelowItsTitleInsideAWindowSmallerThanItself)
{
	window = new RecordingWindow(BRect(300, 300, 359, 359));
	auto* bar = new BMenuBar(BRect(0, 0, 59, 10), "bar");
	auto* second = new BMenu("Long");
	for (int i = 0; i < 6; i++)
		second->AddItem(new BMenuItem(
			"A label wider than the window", new BMessage(10 + i)));
	bar->AddItem(new BMenu("A"));
	bar->AddItem(second);
	window->AddChild(bar);
	Open();

	ASSERT_TRUE(Press(Middle(bar->ConvertToWindow(bar->_ItemFrame(1)))));
	ASSERT_EQ(BPrivate::TestAccess::OpenMenu(bar), second);
	BRect frame = second->ConvertToWindow(second->Bounds());
	EXPECT_EQ(frame, BRect(0, bar->Frame().bottom + 1, 59, 59));
	// The release on the title is not taken for a choice.
	ASSERT_TRUE(Release());
	EXPECT_EQ(BPrivate::TestAccess::OpenMenu(bar), second);
	EXPECT_TRUE(window->Codes().empty());
}

} // namespace
