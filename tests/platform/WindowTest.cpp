#include <gtest/gtest.h>

#include "ControlsTestSupport.h"

#include <csignal>
#include <unistd.h>

namespace {

using namespace kxtest;

const rgb_color kRed = { 255, 0, 0, 255 };
const uint32	kGrey = 0xd8d8d8;

using OnScreen = WindowFixture;

TEST_F(OnScreen, InvalidationsCoalesceIntoOneDrawThatReachesTheScreen)
{
	window = new RecordingWindow(BRect(0, 0, 99, 99));
	auto* view = new ProbeView(BRect(10, 10, 59, 59), kRed);
	// A transparent view colour is never erased: the parent's grey stays.
	auto* blue = new ProbeView(BRect(60, 0, 79, 19), B_TRANSPARENT_32_BIT);
	blue->SetViewColor(0, 0, 255);
	auto* clear = new ProbeView(BRect(80, 0, 99, 19), B_TRANSPARENT_32_BIT);
	clear->SetViewColor(B_TRANSPARENT_32_BIT);
	for (BView* child : { (BView*)view, (BView*)blue, (BView*)clear })
		window->AddChild(child);
	Open();
	int before = view->draws;

	window->Lock();
	view->Invalidate(BRect(0, 0, 4, 4));
	view->Invalidate(BRect(20, 30, 25, 35));
	view->Invalidate(BRect(2, 2, 6, 6));
	window->Unlock();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->draws, before + 1);
	EXPECT_EQ(PixelAt(BPoint(10, 10)), 0xff0000u);
	EXPECT_EQ(PixelAt(BPoint(59, 59)), 0xff0000u);
	EXPECT_EQ(PixelAt(BPoint(9, 9)), kGrey);
	EXPECT_EQ(PixelAt(BPoint(60, 60)), kGrey);
	EXPECT_EQ(PixelAt(BPoint(65, 5)), 0x0000ffu);
	EXPECT_EQ(PixelAt(BPoint(90, 5)), kGrey);
}

TEST_F(OnScreen, AWindowGetsItsPixelsWhenFirstShownAndKeepsThem)
{
	window = new RecordingWindow(BRect(0, 0, 49, 49));
	auto* view = new ProbeView(BRect(0, 0, 49, 49), kRed);
	window->AddChild(view);
	// Running and asked to draw, but never shown: nothing to draw on.
	window->Run();
	harness.Start();
	ASSERT_TRUE(Redraw(view));
	window->Lock();
	EXPECT_EQ(window->Surface(), nullptr);
	window->Unlock();
	EXPECT_EQ(view->draws, 0);

	window->Show();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->draws, 1);
	EXPECT_EQ(PixelAt(BPoint(25, 25)), 0xff0000u);

	// Hidden again, the window keeps its pixels and still draws into them.
	window->Hide();
	ASSERT_TRUE(Redraw(view));
	window->Lock();
	EXPECT_NE(window->Surface(), nullptr);
	window->Unlock();
	EXPECT_EQ(view->draws, 2);
}

TEST_F(OnScreen, AMessageForTheApplicationWakesItsLoop)
{
	// Without the wake-up the loop would see the message only when its
	// wait for input timed out.
	int64 before = harness.display.CountWakes();
	be_app->PostMessage('ping');
	EXPECT_GT(harness.display.CountWakes(), before);
}

// With nothing to do the loop sleeps, with no time limit that would wake it
// again and again; a message and a session's SIGTERM are work that wakes it.
TEST_F(OnScreen, AnIdleLoopSleepsUntilThereIsWork)
{
	window = new RecordingWindow(BRect(0, 0, 49, 49));
	Open();
	ASSERT_TRUE(HeadlessApp::Settle(be_app));
	EXPECT_EQ(harness.display.WaitForIdleLoop(), B_INFINITE_TIMEOUT);
	be_app->PostMessage('ping');
	ASSERT_TRUE(HeadlessApp::Settle(be_app));
	EXPECT_EQ(harness.display.WaitForIdleLoop(), B_INFINITE_TIMEOUT);
	kill(getpid(), SIGTERM);
	EXPECT_TRUE(harness.WaitForQuit()) << "a signal did not wake the loop";
}

TEST_F(OnScreen, QuitAsksEveryWindowIncludingHiddenOnesAndOneMayRefuse)
{
	// Whatever the order of asking, each window is asked once.
	std::atomic<int> quits { 0 }, hiddenQuits { 0 }, refusals { 0 };
	auto*			 shown = new RecordingWindow(BRect(0, 0, 99, 99));
	auto*			 hidden = new RecordingWindow(BRect(200, 0, 299, 99));
	auto*			 refusing = new RecordingWindow(BRect(0, 200, 99, 299));
	shown->quits = &quits;
	hidden->quits = &hiddenQuits;
	refusing->quits = &refusals;
	refusing->agree = false;
	shown->Show();
	hidden->Run();
	refusing->Show();
	EXPECT_TRUE(hidden->IsHidden());
	harness.Start();
	be_app->PostMessage(B_QUIT_REQUESTED);
	ASSERT_TRUE(HeadlessApp::Settle(be_app));
	EXPECT_EQ(refusals.load(), 1);
	EXPECT_FALSE(harness.Finished());

	refusing->Lock();
	refusing->Quit();
	ASSERT_TRUE(harness.Quit());
	EXPECT_EQ(quits.load(), 1);
	EXPECT_EQ(hiddenQuits.load(), 1);
	EXPECT_EQ(app.CountWindows(), 0);
}

// Windows that close from their close boxes while the application asks
// every window to quit: no window may be locked after it is deleted.
TEST(Application, QuitWhileWindowsCloseThemselves)
{
	for (int round = 0; round < 30; round++) {
		HeadlessApp			  harness;
		BApplication		  app("application/x-vnd-test");
		std::atomic<int>	  quits { 0 };
		std::vector<BWindow*> windows;
		for (int i = 0; i < 4; i++) {
			auto* window =
				new RecordingWindow(BRect(i * 110, 0, i * 110 + 99, 99));
			window->quits = &quits;
			window->Show();
			windows.push_back(window);
		}
		harness.Start();
		for (BWindow* window : windows)
			harness.display.RequestClose(window);
		be_app->PostMessage(B_QUIT_REQUESTED);
		ASSERT_TRUE(harness.WaitForQuit());
		EXPECT_EQ(app.CountWindows(), 0);
		EXPECT_GE(quits.load(), 4);
	}
}

// A quick press, flick and release on a palette peg: the release is
// handled while the drag starts. The display copies the drag image before
// the release can end the drag and free it, and is left showing none.
TEST(Drag, AReleaseAsTheDragStartsEndsItWithoutAStaleImage)
{
	class RacingDisplay : public HeadlessApp::Display {
	public:
		void
		SetDragImage(const BBitmap* image, BPoint offset) override
		{
			if (image != nullptr && !release.joinable()) {
				// The display thread's release gets every chance to come
				// first; it cannot while the drag is being handed over.
				std::future<void> done = handled.get_future();
				release = std::thread([this] {
					BPrivate::Desktop::Default()->HandlePointer(BPoint(), 0);
					handled.set_value();
				});
				done.wait_for(std::chrono::milliseconds(250));
			}
			Display::SetDragImage(image, offset);
		}

		std::promise<void> handled;
		std::thread		   release;
	};

	BPrivate::Desktop* desktop = BPrivate::Desktop::Default();
	desktop->Reset();
	RacingDisplay display;
	display.Install();
	desktop->HandlePointer(BPoint(), B_PRIMARY_MOUSE_BUTTON);
	desktop->StartDrag(
		new BMessage('drop'), new BBitmap(BRect(0, 0, 16, 16), B_RGB32), {});
	display.release.join();
	EXPECT_FALSE(desktop->IsDragging());
	EXPECT_FALSE(display.DragImageShown());
	desktop->Reset();
}

} // namespace
