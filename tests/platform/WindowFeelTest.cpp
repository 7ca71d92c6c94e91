#include <Application.h>

#include <gtest/gtest.h>

#include "ControlsTestSupport.h"

namespace {

using namespace kxtest;

const rgb_color kBoardColor = {0, 128, 0, 255};
const uint32 kBoxFlags = B_NOT_RESIZABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE;

// A main window with a view and, away from it, a hidden modal box whose
// loop already runs.
class WindowFeelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app = std::make_unique<BApplication>("application/x-vnd-test");
        main = new RecordingWindow(BRect(30, 30, 189, 298), "main");
        board = new SolidView(BRect(0, 0, 159, 268), kBoardColor);
        main->AddChild(board);
        box = new RecordingWindow(BRect(240, 40, 450, 175), "box", B_TITLED_WINDOW_LOOK,
            B_MODAL_APP_WINDOW_FEEL, kBoxFlags);
        main->Show();
        box->Run();
        harness.Start();
        ASSERT_TRUE(Idle(main));
    }

    void TearDown() override { EXPECT_TRUE(harness.Quit()); }

    void ActivateMain()
    {
        main->Lock();
        main->Activate();
        main->Unlock();
    }

    HeadlessApp harness;
    std::unique_ptr<BApplication> app;
    RecordingWindow* main = nullptr;
    SolidView* board = nullptr;
    RecordingWindow* box = nullptr;
};

TEST_F(WindowFeelTest, ShownModalWindowBlocksTheOthersAndStaysInFront)
{
    ASSERT_TRUE(ClickAt(harness, main, BPoint(50, 50)));
    EXPECT_EQ(board->presses.load(), 1);

    box->Show();
    ASSERT_TRUE(Idle(box));
    EXPECT_TRUE(box->IsFront());
    ASSERT_TRUE(ClickAt(harness, main, BPoint(50, 50)));
    EXPECT_EQ(board->presses.load(), 1);

    // Activating the main window leaves it behind the box, on the screen too.
    int32 raises = harness.display.CountRaises(main);
    ActivateMain();
    EXPECT_TRUE(box->IsFront());
    EXPECT_FALSE(main->IsFront());
    EXPECT_EQ(harness.display.CountRaises(main), raises);
    ASSERT_TRUE(ClickAt(harness, main, BPoint(50, 50)));
    EXPECT_EQ(board->presses.load(), 1);
    // Its close box does nothing either.
    harness.display.RequestClose(main);
    ASSERT_TRUE(harness.display.WaitForInput());
    ASSERT_TRUE(Idle(main));
    EXPECT_EQ(main->quitRequests.load(), 0);

    box->Lock();
    box->Hide();
    box->Unlock();
    ASSERT_TRUE(ClickAt(harness, main, BPoint(50, 50)));
    EXPECT_EQ(board->presses.load(), 2);
    ActivateMain();
    EXPECT_TRUE(main->IsFront());
    EXPECT_EQ(harness.display.CountRaises(main), raises + 1);
}

TEST_F(WindowFeelTest, WindowWithoutCloseBoxIgnoresCloseRequests)
{
    box->Show();
    ASSERT_TRUE(Idle(box));
    harness.display.RequestClose(box);
    ASSERT_TRUE(harness.display.WaitForInput());
    ASSERT_TRUE(Idle(box));
    EXPECT_EQ(box->quitRequests.load(), 0);
    EXPECT_TRUE(harness.display.IsVisible(box));

    box->Lock();
    box->Hide();
    box->Unlock();
    thread_id thread = main->Thread();
    harness.display.RequestClose(main);
    ASSERT_TRUE(harness.display.WaitForInput());
    wait_for_thread(thread, nullptr);
    EXPECT_EQ(app->CountWindows(), 1);
}

} // namespace
