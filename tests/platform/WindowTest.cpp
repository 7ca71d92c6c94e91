#include <Application.h>
#include <View.h>
#include <Window.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "HeadlessApp.h"

namespace {

using kxtest::HeadlessApp;

class ProbeView : public BView {
public:
	ProbeView(BRect frame, rgb_color fill) :
		BView(frame, "probe", B_FOLLOW_NONE, B_WILL_DRAW),
		fFill(fill)
	{ }

	void
	Draw(BRect update) override
	{
		draws++;
		lastUpdate = update;
		if (fFill.alpha != 0) {
			SetHighColor(fFill);
			FillRect(Bounds());
		}
	}

	void
	MouseDown(BPoint where) override
	{
		downs.push_back(where);
		lockedInHook = Window()->IsLocked();
	}

	void
	MouseUp(BPoint where) override
	{
		ups.push_back(where);
	}

	std::atomic<int>	draws { 0 };
	BRect				lastUpdate;
	std::vector<BPoint> downs;
	std::vector<BPoint> ups;
	bool				lockedInHook = false;

private:
	rgb_color fFill;
};

class CountingWindow : public BWindow {
public:
	CountingWindow(BRect frame, std::atomic<int>* quits, bool agree = true) :
		BWindow(frame, "test", B_TITLED_WINDOW, B_NOT_RESIZABLE),
		fQuits(quits),
		fAgree(agree)
	{ }

	bool
	QuitRequested() override
	{
		++*fQuits;
		return fAgree;
	}

private:
	std::atomic<int>* fQuits;
	bool			  fAgree;
};

const rgb_color kRed = { 255, 0, 0, 255 };
const uint32	kGrey = 0xd8d8d8;

// An application on the headless display; its loop starts with Start().
class OnScreen : public ::testing::Test {
protected:
	void
	TearDown() override
	{
		EXPECT_TRUE(harness.Quit());
	}

	uint32
	Rgb(BWindow* window, int32 x, int32 y)
	{
		return harness.display.PixelAt(window, x, y) & 0x00ffffff;
	}

	bool
	Redraw(BWindow* window, BView* view)
	{
		window->Lock();
		view->Invalidate();
		window->Unlock();
		return HeadlessApp::Settle(window);
	}

	HeadlessApp		 harness;
	BApplication	 app { "application/x-vnd-test" };
	std::atomic<int> quits { 0 };
};

// Where presses land in the view, and what GetMouse reads meanwhile, the
// board's drags show.
TEST_F(OnScreen, PressAndReleaseReachTheViewLockedAndOnlyInsideTheWindow)
{
	auto* window = new CountingWindow(BRect(100, 50, 259, 318), &quits);
	auto* view = new ProbeView(BRect(0, 20, 160, 268), kRed);
	window->AddChild(view);
	window->Show();
	harness.Start();
	harness.MoveTo(window, BPoint(40, 229));
	harness.display.Press();
	harness.display.Release();
	ASSERT_TRUE(harness.display.WaitForInput());
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->downs, std::vector<BPoint> { BPoint(40, 209) });
	EXPECT_EQ(view->ups, std::vector<BPoint> { BPoint(40, 209) });
	EXPECT_TRUE(view->lockedInHook);

	// A press outside every window reaches none.
	harness.display.MovePointer(BPoint(10, 10));
	harness.display.Press();
	harness.display.Release();
	ASSERT_TRUE(harness.display.WaitForInput());
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->downs.size(), 1u);
}

TEST_F(OnScreen, InvalidationsCoalesceIntoOneDrawThatReachesTheScreen)
{
	auto* window = new CountingWindow(BRect(0, 0, 99, 99), &quits);
	auto* view = new ProbeView(BRect(10, 10, 59, 59), kRed);
	// A transparent view colour is never erased: the parent's grey stays.
	auto* blue = new ProbeView(BRect(60, 0, 79, 19), B_TRANSPARENT_32_BIT);
	blue->SetViewColor(0, 0, 255);
	auto* clear = new ProbeView(BRect(80, 0, 99, 19), B_TRANSPARENT_32_BIT);
	clear->SetViewColor(B_TRANSPARENT_32_BIT);
	for (BView* child : { (BView*)view, (BView*)blue, (BView*)clear })
		window->AddChild(child);
	window->Show();
	harness.Start();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	int before = view->draws;

	window->Lock();
	view->Invalidate(BRect(0, 0, 4, 4));
	view->Invalidate(BRect(20, 30, 25, 35));
	view->Invalidate(BRect(2, 2, 6, 6));
	window->Unlock();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->draws, before + 1);
	EXPECT_EQ(view->lastUpdate, BRect(0, 0, 25, 35));
	EXPECT_EQ(Rgb(window, 10, 10), 0xff0000u);
	EXPECT_EQ(Rgb(window, 59, 59), 0xff0000u);
	EXPECT_EQ(Rgb(window, 9, 9), kGrey);
	EXPECT_EQ(Rgb(window, 60, 60), kGrey);
	EXPECT_EQ(Rgb(window, 65, 5), 0x0000ffu);
	EXPECT_EQ(Rgb(window, 90, 5), kGrey);

	// UpdateIfNeeded draws at once, and nothing is left to draw after it.
	window->Lock();
	view->Invalidate();
	window->UpdateIfNeeded();
	EXPECT_EQ(view->draws, before + 2);
	window->Unlock();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->draws, before + 2);
}

TEST_F(OnScreen, AWindowGetsItsPixelsWhenFirstShownAndKeepsThem)
{
	auto* window = new CountingWindow(BRect(0, 0, 49, 49), &quits);
	auto* view = new ProbeView(BRect(0, 0, 49, 49), kRed);
	window->AddChild(view);
	// Running and asked to draw, but never shown: nothing to draw on.
	window->Run();
	harness.Start();
	ASSERT_TRUE(Redraw(window, view));
	window->Lock();
	EXPECT_EQ(window->Surface(), nullptr);
	window->Unlock();
	EXPECT_EQ(view->draws, 0);

	window->Show();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->draws, 1);
	EXPECT_EQ(Rgb(window, 25, 25), 0xff0000u);

	// Hidden again, the window keeps its pixels and still draws into them.
	window->Hide();
	ASSERT_TRUE(Redraw(window, view));
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

TEST_F(OnScreen, QuitAsksEveryWindowIncludingHiddenOnesAndOneMayRefuse)
{
	// Whatever the order of asking, each window is asked once.
	std::atomic<int> hiddenQuits { 0 }, refusals { 0 };
	auto*			 shown = new CountingWindow(BRect(0, 0, 99, 99), &quits);
	auto* hidden = new CountingWindow(BRect(200, 0, 299, 99), &hiddenQuits);
	auto* refusing =
		new CountingWindow(BRect(0, 200, 99, 299), &refusals, false);
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
			windows.push_back(new CountingWindow(
				BRect(i * 110, 0, i * 110 + 99, 99), &quits));
			windows.back()->Show();
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

} // namespace
