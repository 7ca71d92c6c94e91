#ifndef KX_TEST_HEADLESS_APP_H
#define KX_TEST_HEADLESS_APP_H

// Runs an application on the headless display, its loop on a thread of its
// own, so that a test can drive the pointer and look at the windows.

#include <AppDefs.h>
#include <Application.h>
#include <Window.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "Clock.h"
#include "Desktop.h"
#include "HeadlessDisplay.h"
#include "TestAccess.h"
#include "Watchdog.h"

namespace kxtest {

class HeadlessApp {
public:
	// The headless display, keeping a copy of the last drag image shown and
	// its offset from the pointer.
	class Display : public BPrivate::HeadlessDisplay {
	public:
		void
		SetDragImage(const BBitmap* image, BPoint offset) override
		{
			if (image != nullptr) {
				std::lock_guard<std::mutex> guard(fRecordLock);
				fImage.reset(new BBitmap(image));
				fOffset = offset;
			}
			HeadlessDisplay::SetDragImage(image, offset);
		}

		std::unique_ptr<BBitmap>
		TakeDragImage(BPoint* offset)
		{
			std::lock_guard<std::mutex> guard(fRecordLock);
			*offset = fOffset;
			return std::move(fImage);
		}

	private:
		std::mutex				 fRecordLock;
		std::unique_ptr<BBitmap> fImage;
		BPoint					 fOffset;
	};

	HeadlessApp() :
		watchdog(6 * kWatchdog)
	{
		BPrivate::Desktop::Default()->Reset();
		display.Install();
	}

	~HeadlessApp()
	{
		if (fRunning.valid())
			Quit();
		BPrivate::SetClock(nullptr);
		BPrivate::Desktop::Default()->Reset();
	}

	// Starts the loop of an application made by the caller (be_app).
	void
	Start()
	{
		watchdog.Beat("start");
		fRunning = std::async(std::launch::async, [] { be_app->Run(); });
	}

	// Asks the application to quit and waits for its loop to return; false
	// if it did not within the watchdog's time.
	bool
	Quit()
	{
		watchdog.Beat("quit");
		if (fRunning.valid())
			be_app->PostMessage(B_QUIT_REQUESTED);
		return WaitForQuit();
	}

	bool
	WaitForQuit()
	{
		if (!fRunning.valid())
			return true;
		if (fRunning.wait_for(kWatchdog) != std::future_status::ready)
			return false;
		fRunning.get();
		return true;
	}

	bool
	Finished()
	{
		return fRunning.valid()
			&& fRunning.wait_for(std::chrono::seconds(0))
			== std::future_status::ready;
	}

	// Waits until the looper has handled everything posted to it, including
	// what its own handling posts to it meanwhile.
	static bool
	Settle(BLooper* looper)
	{
		return PollUntil(
			[looper] { return BPrivate::TestAccess::IsIdle(looper); });
	}

	// Input goes through the application's loop, then to the window.
	bool
	Click(BWindow* window, BPoint where)
	{
		MoveTo(window, where);
		display.Press();
		display.Release();
		return display.WaitForInput() && Settle(window);
	}

	void
	MoveTo(BWindow* window, BPoint where)
	{
		watchdog.Beat("pointer input");
		display.MovePointer(display.WindowToScreen(window, where));
	}

	// Ends the program on a hang in a wait without a limit of its own (a
	// lock, a join); far longer than any wait with a deadline, far shorter
	// than the test runner's limit.
	Watchdog watchdog;
	Display	 display;

private:
	std::future<void> fRunning;
};

} // namespace kxtest

#endif
