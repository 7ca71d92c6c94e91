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
		SetHighColor(fFill);
		FillRect(Bounds());
	}

	void
	MouseDown(BPoint where) override
	{
		downs.push_back(where);
		GetMouse(&polled, &polledButtons, true);
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
	BPoint				polled;
	uint32				polledButtons = 0;
	bool				lockedInHook = false;

private:
	rgb_color fFill;
};

class CountingWindow : public BWindow {
public:
	CountingWindow(BRect frame, const char* title, std::atomic<int>* quits,
		bool agree = true) :
		BWindow(frame, title, B_TITLED_WINDOW, B_NOT_RESIZABLE),
		fQuits(quits),
		fAgree(agree)
	{ }

	bool
	QuitRequested() override
	{
		lockedWhenAsked = IsLocked();
		++*fQuits;
		return fAgree;
	}

	std::atomic<bool> lockedWhenAsked { false };

private:
	std::atomic<int>* fQuits;
	bool			  fAgree;
};

const rgb_color kRed = { 255, 0, 0, 255 };

// An application on the headless display; its loop starts with Start().
class OnScreen : public ::testing::Test {
protected:
	void
	TearDown() override
	{
		EXPECT_TRUE(harness.Quit());
	}

	CountingWindow*
	NewWindow(BRect frame, bool agree = true)
	{
		return new CountingWindow(frame, "test", &quits, agree);
	}

	HeadlessApp		 harness;
	BApplication	 app { "application/x-vnd-test" };
	std::atomic<int> quits { 0 };
};

TEST_F(OnScreen, PressReachesMouseDownInViewCoordinatesAndOnlyInsideTheWindow)
{
	auto* window = NewWindow(BRect(100, 50, 259, 318));
	auto* view = new ProbeView(BRect(0, 20, 160, 268), kRed);
	window->AddChild(view);
	window->Show();
	harness.Start();

	harness.MoveTo(window, BPoint(40, 229));
	harness.display.Press();
	ASSERT_TRUE(harness.display.WaitForInput());
	ASSERT_TRUE(HeadlessApp::Settle(window));

	ASSERT_EQ(view->downs.size(), 1u);
	EXPECT_EQ(view->downs[0], BPoint(40, 209));
	EXPECT_TRUE(view->lockedInHook);
	// GetMouse reads the same point, in the view's coordinates, button down.
	EXPECT_EQ(view->polled, BPoint(40, 209));
	EXPECT_EQ(view->polledButtons, (uint32)B_PRIMARY_MOUSE_BUTTON);
	EXPECT_TRUE(view->ups.empty());

	harness.display.Release();
	ASSERT_TRUE(harness.display.WaitForInput());
	ASSERT_TRUE(HeadlessApp::Settle(window));
	ASSERT_EQ(view->ups.size(), 1u);
	EXPECT_EQ(view->ups[0], BPoint(40, 209));

	// A press outside every window reaches none.
	harness.display.MovePointer(BPoint(10, 10));
	harness.display.Press();
	harness.display.Release();
	ASSERT_TRUE(harness.display.WaitForInput());
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->downs.size(), 1u);
}

TEST_F(OnScreen, InvalidationsCoalesceIntoOneDrawUnlessUpdatedAtOnce)
{
	auto* window = NewWindow(BRect(0, 0, 99, 99));
	auto* view = new ProbeView(BRect(10, 10, 59, 59), kRed);
	window->AddChild(view);
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

	// What was drawn reached the screen: red inside the view, the window's
	// grey outside.
	EXPECT_EQ(harness.display.PixelAt(window, 10, 10) & 0x00ffffff, 0xff0000u);
	EXPECT_EQ(harness.display.PixelAt(window, 59, 59) & 0x00ffffff, 0xff0000u);
	EXPECT_EQ(harness.display.PixelAt(window, 9, 9) & 0x00ffffff, 0xd8d8d8u);
	EXPECT_EQ(harness.display.PixelAt(window, 60, 60) & 0x00ffffff, 0xd8d8d8u);

	// UpdateIfNeeded draws at once, and nothing is left to draw after it.
	window->Lock();
	view->Invalidate();
	window->UpdateIfNeeded();
	EXPECT_EQ(view->draws, before + 2);
	window->Unlock();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->draws, before + 2);
}

TEST_F(OnScreen, TransparentViewColourIsNeverErased)
{
	class Silent : public BView {
	public:
		Silent(BRect frame) :
			BView(frame, "silent", 0, B_WILL_DRAW)
		{ }
		void
		Draw(BRect) override
		{ }
	};
	auto* window = NewWindow(BRect(0, 0, 39, 19));
	auto* erased = new Silent(BRect(0, 0, 19, 19));
	erased->SetViewColor(0, 0, 255);
	auto* kept = new Silent(BRect(20, 0, 39, 19));
	kept->SetViewColor(B_TRANSPARENT_32_BIT);
	window->AddChild(erased);
	window->AddChild(kept);
	window->Show();
	harness.Start();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(harness.display.PixelAt(window, 5, 5) & 0x00ffffff, 0x0000ffu);
	// Under the transparent view the parent's grey stays.
	EXPECT_EQ(harness.display.PixelAt(window, 30, 5) & 0x00ffffff, 0xd8d8d8u);
}

TEST_F(OnScreen, AMessageForTheApplicationWakesItsLoop)
{
	// Without the wake-up the loop would see the message only when its
	// wait for input timed out.
	int64 before = harness.display.CountWakes();
	be_app->PostMessage('ping');
	EXPECT_GT(harness.display.CountWakes(), before);
}

TEST_F(OnScreen, QuitAsksEveryWindowLockedIncludingHiddenOnes)
{
	std::atomic<int> shownQuits { 0 }, hiddenQuits { 0 };
	auto* shown = new CountingWindow(BRect(0, 0, 99, 99), "shown", &shownQuits);
	auto* hidden =
		new CountingWindow(BRect(200, 0, 299, 99), "hidden", &hiddenQuits);
	shown->Show();
	hidden->Run();
	EXPECT_TRUE(hidden->IsHidden());
	EXPECT_FALSE(shown->IsHidden());
	harness.Start();
	ASSERT_TRUE(harness.Quit());
	EXPECT_EQ(shownQuits.load(), 1);
	EXPECT_EQ(hiddenQuits.load(), 1);
	EXPECT_EQ(app.CountWindows(), 0);
}

TEST_F(OnScreen, AWindowThatRefusesKeepsTheApplicationRunning)
{
	auto* window = NewWindow(BRect(0, 0, 99, 99), false);
	window->Show();
	harness.Start();
	be_app->PostMessage(B_QUIT_REQUESTED);
	ASSERT_TRUE(HeadlessApp::Settle(be_app));
	EXPECT_EQ(quits.load(), 1);
	EXPECT_FALSE(harness.Finished());
	EXPECT_EQ(app.CountWindows(), 1);
	// Closing it for good ends the test.
	window->Lock();
	window->Quit();
}

} // namespace

namespace {

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
				BRect(i * 110, 0, i * 110 + 99, 99), "closing", &quits));
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
