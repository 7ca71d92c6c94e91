#include <gtest/gtest.h>

#include "ControlsTestSupport.h"

namespace {

using namespace kxtest;

// A main window with a view and, away from it, a hidden modal box without a
// close box whose loop already runs.
class WindowFeelTest : public WindowFixture {
protected:
	void
	SetUp() override
	{
		window = new RecordingWindow(BRect(30, 30, 189, 298));
		board = new ProbeView(BRect(0, 0, 159, 268));
		window->AddChild(board);
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

	bool
	Close(BWindow* which)
	{
		harness.display.RequestClose(which);
		return harness.display.WaitForInput() && Idle(which);
	}

	ProbeView*		 board = nullptr;
	RecordingWindow* box = nullptr;
};

TEST_F(WindowFeelTest, ShownModalWindowBlocksTheOthersAndStaysInFront)
{
	ShowBox(true);
	EXPECT_TRUE(box->IsFront());
	ASSERT_TRUE(ClickAt(BPoint(50, 50)));
	EXPECT_EQ(board->downs.size(), 0u);
	ASSERT_TRUE(Close(window));
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
	ASSERT_TRUE(Type('a', 0, 0, window));
	EXPECT_EQ(window->Codes(), std::vector<uint32> { B_KEY_DOWN });
	window->Lock();
	window->Activate();
	window->Unlock();
	EXPECT_TRUE(window->IsFront());
	EXPECT_EQ(harness.display.CountRaises(window), raises + 1);
}

TEST_F(WindowFeelTest, WindowWithoutCloseBoxIgnoresCloseRequests)
{
	ShowBox(true);
	ASSERT_TRUE(Close(box));
	EXPECT_EQ(box->quitRequests.load(), 0);
	EXPECT_TRUE(harness.display.IsVisible(box));
	ShowBox(false);
	thread_id thread = window->Thread();
	harness.display.RequestClose(window);
	ASSERT_TRUE(harness.display.WaitForInput());
	wait_for_thread(thread, nullptr);
	EXPECT_EQ(app.CountWindows(), 1);
}

} // namespace
