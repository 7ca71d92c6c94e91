#include <Application.h>
#include <Button.h>
#include <StringView.h>

#include <gtest/gtest.h>

#include <cmath>

#include "ControlsTestSupport.h"

namespace {

using namespace kxtest;

float LineHeight()
{
    font_height height;
    be_plain_font->GetHeight(&height);
    return ceilf(height.ascent + height.descent + height.leading);
}

TEST(Button, FrameWithoutHeightTakesTheHeightItsFontNeeds)
{
    BButton web(BRect(10, 80, 200, 80), "", "Kalvex Web Page", new BMessage(7));
    BButton ok(BRect(10, 105, 200, 105), "", "OK", new BMessage(6));
    BRect frame = web.Frame();
    EXPECT_EQ(frame.LeftTop(), BPoint(10, 80));
    EXPECT_EQ(frame.Width(), 190);
    EXPECT_GE(frame.Height() + 1, LineHeight() + 4);
    EXPECT_LE(frame.Height() + 1, LineHeight() + 14);
    // Buttons 25 pixels apart do not overlap with the default font.
    EXPECT_LT(frame.bottom, ok.Frame().top);
    EXPECT_EQ(ok.Frame().Height(), frame.Height());

    BButton tall(BRect(0, 0, 50, 40), "", "Tall", nullptr);
    EXPECT_EQ(tall.Frame(), BRect(0, 0, 50, 40));
    EXPECT_STREQ(ok.Label(), "OK");
    EXPECT_EQ(ok.Message()->what, 6u);
}

class ButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<BApplication>("application/x-vnd-test");
        window = new RecordingWindow(BRect(140, 40, 350, 175), "buttons");
        button = new BButton(BRect(10, 80, 200, 80), "", "Kalvex Web Page", new BMessage(7));
        window->AddChild(button);
        window->Show();
        harness.Start();
        ASSERT_TRUE(Idle(window));
        inside = BPoint(100, 90);
        outside = BPoint(100, 130);
    }

    void TearDown() override { EXPECT_TRUE(harness.Quit()); }

    uint32 Face() { return harness.display.PixelAt(window, 20, 85); }

    HeadlessApp harness;
    std::unique_ptr<BApplication> app;
    RecordingWindow* window = nullptr;
    BButton* button = nullptr;
    BPoint inside;
    BPoint outside;
};

TEST_F(ButtonTest, ClickInsideSendsItsMessageToTheWindow)
{
    EXPECT_EQ(button->Target(), window);
    ASSERT_TRUE(ClickAt(harness, window, inside));
    ASSERT_TRUE(ClickAt(harness, window, inside));
    EXPECT_EQ(window->Codes(), (std::vector<uint32>{7, 7}));
    // The label is drawn in the middle of the button.
    int ink = 0;
    for (int32 x = 10; x <= 200; x++)
        ink += IsInk(harness.display.PixelAt(window, x, (int32)((button->Frame().top + button->Frame().bottom) / 2)));
    EXPECT_GT(ink, 5);
}

TEST_F(ButtonTest, ReleaseOutsideSendsNothingAndThePressShowsOnlyWhileInside)
{
    uint32 idle = Face();
    ASSERT_TRUE(Press(harness, window, inside));
    EXPECT_TRUE(button->IsPressed());
    EXPECT_NE(Face(), idle);
    ASSERT_TRUE(MoveHeld(harness, window, outside));
    EXPECT_FALSE(button->IsPressed());
    EXPECT_EQ(Face(), idle);
    ASSERT_TRUE(Release(harness, window));
    EXPECT_TRUE(window->Codes().empty());

    // Out and back in again before the release still counts.
    ASSERT_TRUE(Press(harness, window, inside));
    ASSERT_TRUE(MoveHeld(harness, window, outside));
    ASSERT_TRUE(MoveHeld(harness, window, inside));
    EXPECT_TRUE(button->IsPressed());
    ASSERT_TRUE(Release(harness, window));
    EXPECT_EQ(Face(), idle);
    EXPECT_EQ(window->Codes(), std::vector<uint32>{7});
}

TEST_F(ButtonTest, SetTargetSendsElsewhere)
{
    auto* other = new RecordingWindow(BRect(400, 40, 450, 90), "other");
    other->Run();
    window->Lock();
    button->SetTarget(other);
    window->Unlock();
    ASSERT_TRUE(ClickAt(harness, window, inside));
    ASSERT_TRUE(Idle(other));
    EXPECT_EQ(other->Codes(), std::vector<uint32>{7});
    EXPECT_TRUE(window->Codes().empty());
}

TEST(StringView, DrawsItsTextOnTheWindowsBackgroundInsideItsFrameOnly)
{
    TestApp test;
    HeadlessApp& harness = test.harness;
    auto* window = new RecordingWindow(BRect(140, 40, 350, 175), "text");
    // Wider than the window, as the About box's lines are.
    auto* line = new BStringView(BRect(10, 25, 340, 35), "", "Check readme.txt for more information");
    window->AddChild(line);
    window->Show();
    harness.Start();
    ASSERT_TRUE(Idle(window));

    uint32 background = harness.display.PixelAt(window, 5, 5);
    int inkInside = 0;
    int inkOutside = 0;
    int inkAtRightEdge = 0;
    for (int32 y = 0; y <= 135; y++) {
        for (int32 x = 0; x <= 210; x++) {
            uint32 pixel = harness.display.PixelAt(window, x, y);
            bool inFrame = x >= 10 && y >= 25 && y <= 35;
            if (IsInk(pixel)) {
                (inFrame ? inkInside : inkOutside)++;
                inkAtRightEdge += x >= 200;
            } else if (inFrame) {
                // No white band: the text lies on its parent's colour.
                ASSERT_NE(Rgb(pixel), 0xffffffu) << x << "," << y;
            }
        }
    }
    EXPECT_GT(inkInside, 50);
    EXPECT_EQ(inkOutside, 0);
    // The line runs on to the window's edge, where the window cuts it.
    EXPECT_GT(inkAtRightEdge, 0);
    EXPECT_EQ(Rgb(background), Rgb(harness.display.PixelAt(window, 12, 36)));

    window->Lock();
    line->SetText("");
    window->Unlock();
    ASSERT_TRUE(Idle(window));
    EXPECT_STREQ(line->Text(), "");
    for (int32 x = 10; x <= 210; x++)
        ASSERT_FALSE(IsInk(harness.display.PixelAt(window, x, 31))) << x;
}

} // namespace
