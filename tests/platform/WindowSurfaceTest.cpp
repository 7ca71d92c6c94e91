#include <Application.h>
#include <Bitmap.h>
#include <View.h>
#include <Window.h>

#include <gtest/gtest.h>

#include <atomic>

#include "HeadlessApp.h"

namespace {

using kxtest::HeadlessApp;

class CountingView : public BView {
public:
	CountingView(BRect frame) :
		BView(frame, "counting", B_FOLLOW_NONE, B_WILL_DRAW)
	{ }

	void
	Draw(BRect) override
	{
		draws++;
		SetHighColor(255, 0, 0);
		FillRect(Bounds());
	}

	std::atomic<int> draws { 0 };
};

} // namespace


TEST(WindowSurfaceTest, AWindowGetsItsPixelsWhenFirstShownAndKeepsThem)
{
	HeadlessApp	 harness;
	BApplication app("application/x-vnd-test");
	auto*		 window = new BWindow(
			   BRect(0, 0, 49, 49), "dialog", B_TITLED_WINDOW, B_NOT_RESIZABLE);
	auto* view = new CountingView(BRect(0, 0, 49, 49));
	window->AddChild(view);
	// Running and asked to draw, but never shown: nothing to draw on.
	window->Run();
	harness.Start();
	window->Lock();
	view->Invalidate();
	window->Unlock();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	window->Lock();
	EXPECT_EQ(window->Surface(), nullptr);
	window->Unlock();
	EXPECT_EQ(view->draws, 0);

	window->Show();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_EQ(view->draws, 1);
	EXPECT_EQ(harness.display.PixelAt(window, 25, 25) & 0x00ffffff, 0xff0000u);

	// Hidden again, the window keeps its pixels and still draws into them.
	window->Hide();
	window->Lock();
	view->Invalidate();
	window->Unlock();
	ASSERT_TRUE(HeadlessApp::Settle(window));
	window->Lock();
	EXPECT_NE(window->Surface(), nullptr);
	window->Unlock();
	EXPECT_EQ(view->draws, 2);
	EXPECT_TRUE(harness.Quit());
}
