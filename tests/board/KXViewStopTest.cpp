#include "GameFixture.h"


namespace {

// A player that has just ended its game has cleared cpuActive, but its thread
// is still on its way out; the window may be deleted as soon as Quit returns.
struct EndingPlayer {
	std::atomic<bool> release { false };
	std::atomic<bool> quitReturned { false };
	bool			  quitReturnedFirst = false;
};


status_t
FinishEnding(void* data)
{
	EndingPlayer* player = (EndingPlayer*)data;
	// Without the release in time the thread ends anyway, and the test
	// finds quitReturnedFirst false.
	if (kxtest::PollUntil([player] { return player->release.load(); }))
		player->quitReturnedFirst = player->quitReturned;
	return 0;
}


class KXViewStopTest : public kxtest::GameTest { };


TEST_F(KXViewStopTest, QuitWaitsForAThreadThatClearedTheFlagAlready)
{
	EndingPlayer ending;
	thread_id	 thread =
		spawn_thread(FinishEnding, "CPU Player", B_NORMAL_PRIORITY, &ending);
	resume_thread(thread);
	window->Lock();
	view->cpuThread = thread;
	window->Unlock();

	std::atomic<bool> locked(false);
	std::thread		  quitter([&] {
		  window->Lock();
		  locked = true;
		  view->Quit();
		  // Still holding the lock, so that the window comes free before
		  // this only if Quit lets go of it to wait.
		  ending.quitReturned = true;
		  window->Unlock();
	  });
	// A Quit that kept the lock while it waited would never let go: fail
	// then, and let the thread end so that Quit returns.
	EXPECT_TRUE(kxtest::PollUntil([&] {
		return locked && window->LockingThread() < 0;
	})) << "Quit kept the window locked while it waited";
	ending.release = true;
	quitter.join();
	wait_for_thread(thread, NULL);
	EXPECT_FALSE(ending.quitReturnedFirst);
}

} // namespace
