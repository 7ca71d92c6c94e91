// The display's wake-up comes from any thread at any time: before the
// display is open (a relaunch request may arrive while the application is
// still being made), while it opens and closes, and after. Under
// ThreadSanitizer a wake-up that reads the display's state unguarded fails.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

#include "Watchdog.h"
#include "display/DisplayBackend.h"

namespace BPrivate {
DisplayBackend* CreateSDLDisplay();
}

TEST(DisplayWake, AnyThreadMayWakeTheDisplayWhileItOpensAndCloses)
{
	// A display without a screen: the X server plays no part here.
	setenv("SDL_VIDEODRIVER", "dummy", 1);
	BPrivate::DisplayBackend* display = BPrivate::CreateSDLDisplay();
	std::atomic<bool>		  done { false };
	std::atomic<int>		  wakes { 0 };
	std::thread				  waker([&] {
		  while (!done) {
			  display->Wake();
			  wakes++;
		  }
	  });
	EXPECT_TRUE(kxtest::PollUntil([&] { return wakes >= 100; }));
	for (int round = 0; round < 3; round++) {
		ASSERT_EQ(display->Open(), B_OK);
		int seen = wakes;
		EXPECT_TRUE(kxtest::PollUntil([&] { return wakes >= seen + 100; }));
		display->Close();
	}
	done = true;
	waker.join();
	delete display;
	unsetenv("SDL_VIDEODRIVER");
}
