#ifndef KX_CONTROLS_TEST_SUPPORT_H
#define KX_CONTROLS_TEST_SUPPORT_H

// Windows and views that record what reaches them, and a fixture whose input
// drivers wait until a window has dealt with the input.

#include <Application.h>
#include <View.h>
#include <Window.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "HeadlessApp.h"

namespace kxtest {

// Keeps the code of every message that reaches its MessageReceived.
class RecordingWindow : public BWindow {
public:
	RecordingWindow(BRect frame, window_feel feel = B_NORMAL_WINDOW_FEEL,
		uint32 flags = B_NOT_RESIZABLE) :
		BWindow(frame, "recording", B_TITLED_WINDOW_LOOK, feel, flags)
	{ }

	void
	MessageReceived(BMessage* message) override
	{
		{
			std::lock_guard<std::mutex> guard(fLock);
			fCodes.push_back(message->what);
		}
		BWindow::MessageReceived(message);
	}

	bool
	QuitRequested() override
	{
		++*quits;
		return agree;
	}

	std::vector<uint32>
	Codes()
	{
		std::lock_guard<std::mutex> guard(fLock);
		return fCodes;
	}

	void
	ClearCodes()
	{
		std::lock_guard<std::mutex> guard(fLock);
		fCodes.clear();
	}

	std::atomic<int>  quitRequests { 0 };
	// Elsewhere instead, for a test that looks once the window is gone.
	std::atomic<int>* quits = &quitRequests;
	bool			  agree = true;

private:
	std::mutex			fLock;
	std::vector<uint32> fCodes;
};

// Fills itself with one colour, unless that is transparent, and keeps what
// reaches it: presses and typed bytes.
class ProbeView : public BView {
public:
	explicit ProbeView(BRect frame, rgb_color fill = { 0, 128, 0, 255 }) :
		BView(frame, "probe", B_FOLLOW_NONE, B_WILL_DRAW),
		fFill(fill)
	{ }

	void
	Draw(BRect) override
	{
		draws++;
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
	KeyDown(const char* bytes, int32 numBytes) override
	{
		typed += std::string(bytes, numBytes);
		BView::KeyDown(bytes, numBytes);
	}

	// The default fill, as the window's pixels show it.
	static constexpr uint32 kGreen = 0x008000;
	std::atomic<int>		draws { 0 };
	std::vector<BPoint>		downs;
	bool					lockedInHook = false;
	std::string				typed;

private:
	rgb_color fFill;
};

// Waits until the looper has handled everything, including what it posted
// to itself on the way (updates, invoked messages).
inline bool
Idle(BLooper* looper)
{
	return kxtest::PollUntil([looper] {
		return HeadlessApp::Settle(looper)
			&& BPrivate::TestAccess::IsIdle(looper);
	});
}

// One window on the headless display, and input drivers that return once
// the window (or `to`) has dealt with the input. The application's loop is
// stopped before the application goes, also when a test ends early.
class WindowFixture : public ::testing::Test {
protected:
	void
	TearDown() override
	{
		EXPECT_TRUE(harness.Quit());
	}

	void
	Open()
	{
		window->Show();
		harness.Start();
		ASSERT_TRUE(Idle(window));
	}

	bool
	Press(BPoint where)
	{
		harness.MoveTo(window, where);
		harness.display.Press();
		return harness.display.WaitForInput() && Idle(window);
	}

	bool
	MoveHeld(BPoint where)
	{
		harness.MoveTo(window, where);
		return harness.display.WaitForInput() && Idle(window);
	}

	bool
	Release()
	{
		harness.display.Release();
		return harness.display.WaitForInput() && Idle(window);
	}

	bool
	ClickAt(BPoint where)
	{
		return Press(where) && Release();
	}

	bool
	Type(char byte, int32 key = 0, uint32 modifiers = 0, BWindow* to = nullptr)
	{
		harness.display.TypeKey(byte, key, modifiers, to);
		return harness.display.WaitForInput()
			&& Idle(to != nullptr ? to : window);
	}

	bool
	Redraw(BView* view)
	{
		window->Lock();
		view->Invalidate();
		window->Unlock();
		return Idle(window);
	}

	uint32
	PixelAt(BPoint where)
	{
		return harness.display.PixelAt(window, where.x, where.y) & 0x00ffffff;
	}

	HeadlessApp		 harness;
	BApplication	 app { "application/x-vnd-test" };
	RecordingWindow* window = nullptr;
};

// Dark enough to be part of black text.
inline bool
IsInk(uint32 pixel)
{
	return ((pixel >> 16) & 0xff) < 128 && ((pixel >> 8) & 0xff) < 128
		&& (pixel & 0xff) < 128;
}

} // namespace kxtest

#endif
