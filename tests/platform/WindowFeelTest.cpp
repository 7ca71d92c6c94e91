#include <gtest/gtest.h>

#include "ControlsTestSupport.h"

namespace {

using namespace kxtest;

// A main window with a view and, away from it, a hidden modal box without a
// close box whose loop already runs.
class WindowFeelTest : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		main = new RecordingWindow(BRect(30, 30, 189, 298));
		board = new SolidView(BRect(0, 0, 159, 268));
		main->AddChild(board);
		box = new RecordingWindow(BRect(240, 40, 450, 175),
			B_MODAL_APP_WINDOW_FEEL,
			B_NOT_RESIZABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE
				| B_NOT_MINIMIZABLE);
		main->Show();
		box->Run();
		harness.Start();
		ASSERT_TRUE(Idle(main));
	}

	void
	ShowBox(bool show)
	{
		box->Lock();
		show ? box->Show() : box->Hide();
		box->Unlock();
		ASSERT_TRUE(Idle(box));
	}

	// A key typed at the window, as if it had the focus.
	bool
	TypeTo(BWindow* window)
	{
		harness.display.TypeKey('a', 0, 0, window);
		return harness.display.WaitForInput() && Idle(window);
	}

	bool
	Close(BWindow* window)
	{
		harness.display.RequestClose(window);
		return harness.display.WaitForInput() && Idle(window);
	}

	TestApp			 test;
	HeadlessApp&	 harness = test.harness;
	RecordingWindow* main = nullptr;
	SolidView*		 board = nullptr;
	RecordingWindow* box = nullptr;
};

TEST_F(WindowFeelTest, ShownModalWindowBlocksTheOthersAndStaysInFront)
{
	ShowBox(true);
	EXPECT_TRUE(box->IsFront());
	ASSERT_TRUE(ClickAt(harness, main, BPoint(50, 50)));
	EXPECT_EQ(board->presses.load(), 0);
	ASSERT_TRUE(Close(main));
	EXPECT_EQ(main->quitRequests.load(), 0);
	main->ClearCodes();
	ASSERT_TRUE(TypeTo(main));
	ASSERT_TRUE(TypeTo(box));
	EXPECT_TRUE(main->Codes().empty());
	EXPECT_EQ(box->Codes(), std::vector<uint32> { B_KEY_DOWN });

	// Activating the main window leaves it behind the box, on the screen too.
	int32 raises = harness.display.CountRaises(main);
	main->Lock();
	main->Activate();
	main->Unlock();
	EXPECT_TRUE(box->IsFront());
	EXPECT_EQ(harness.display.CountRaises(main), raises);

	ShowBox(false);
	ASSERT_TRUE(ClickAt(harness, main, BPoint(50, 50)));
	EXPECT_EQ(board->presses.load(), 1);
	ASSERT_TRUE(TypeTo(main));
	EXPECT_EQ(main->Codes(), std::vector<uint32> { B_KEY_DOWN });
	main->Lock();
	main->Activate();
	main->Unlock();
	EXPECT_TRUE(main->IsFront());
	EXPECT_EQ(harness.display.CountRaises(main), raises + 1);
}

TEST_F(WindowFeelTest, WindowWithoutCloseBoxIgnoresCloseRequests)
{
	ShowBox(true);
	ASSERT_TRUE(Close(box));
	EXPECT_EQ(box->quitRequests.load(), 0);
	EXPECT_TRUE(harness.display.IsVisible(box));
	ShowBox(false);
	thread_id thread = main->Thread();
	harness.display.RequestClose(main);
	ASSERT_TRUE(harness.display.WaitForInput());
	wait_for_thread(thread, nullptr);
	EXPECT_EQ(test.app->CountWindows(), 1);
}

} // namespace
