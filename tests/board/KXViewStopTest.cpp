// Stopping the computer player from a thread that holds the main window's
// lock twice, while the player needs that lock to finish its row.

#include <functional>

#include "GameFixture.h"

using kxtest::BoardState;
using kxtest::kPegPause;


namespace {

class KXViewStopTest : public kxtest::GameTest {
protected:
	// Stops the player during its pause after the second peg; gives the
	// virtual time that the stop waited.
	bigtime_t StopDuringSecondPause(std::function<void(KXView*)> stop)
	{
		StartPlayer(Sequence(1, 2, 0, 8, 8));
		EXPECT_TRUE(RunToPause(2));
		bigtime_t requested = clock.Now();

		std::atomic<bool> done(false);
		std::thread stopper([&] {
			window->Lock();
			window->Lock();
			stop(view);
			EXPECT_EQ(window->CountLocks(), 2);
			EXPECT_EQ(window->LockingThread(), find_thread(NULL));
			window->Unlock();
			window->Unlock();
			done = true;
		});
		auto deadline = std::chrono::steady_clock::now() + kxtest::kWatchdog;
		while (!done && std::chrono::steady_clock::now() < deadline) {
			if (!view->cpuActive)
				clock.AdvanceToNextWakeup();
			std::this_thread::yield();
		}
		clock.SetAutomatic(true);
		stopper.join();
		return clock.Now() - requested;
	}
};


TEST_F(KXViewStopTest, RestartLetsThePlayerFinishItsRowThenStartsAFreshGame)
{
	BoardState fresh = State();
	// Pegs 3 to 5 come after the stop request, each with its pause.
	EXPECT_EQ(StopDuringSecondPause([](KXView* board) { board->Restart(); }), 4 * kPegPause);
	EXPECT_EQ(clock.CountSleeps(), 5);

	BoardState state = State();
	fresh.secret = state.secret;
	EXPECT_TRUE(state == fresh);
}


TEST_F(KXViewStopTest, QuitLetsThePlayerScoreItsRowAndChangesNothingElse)
{
	EXPECT_EQ(StopDuringSecondPause([](KXView* board) { board->Quit(); }), 4 * kPegPause);

	BoardState state = State();
	EXPECT_EQ(state.Row(13), Sequence(0, 1, 2, 3, 4));
	// (1,2,0,8,8) against the opening guess: no exact, three colours.
	EXPECT_EQ(state.hints[13][2], HINT_COLOR);
	EXPECT_EQ(state.hints[13][3], HINT_NONE);
	EXPECT_EQ(state.currentRow, 12);
	EXPECT_FALSE(state.cpuActive);
	// Stopped, not ended: the game itself goes on.
	EXPECT_TRUE(state.gameActive);

	clock.Advance(10 * kPegPause);
	EXPECT_TRUE(harness.Settle(window));
	EXPECT_TRUE(State() == state);
	EXPECT_EQ(clock.CountSleeps(), 5);
}



// A player that has just ended its game has cleared cpuActive, but its thread
// is still on its way out; the window may be deleted as soon as Quit returns.
struct EndingPlayer {
	std::atomic<bool> release{false};
	std::atomic<bool> quitReturned{false};
	bool quitReturnedFirst = false;
};


status_t
FinishEnding(void* data)
{
	EndingPlayer* player = (EndingPlayer*)data;
	while (!player->release)
		std::this_thread::yield();
	player->quitReturnedFirst = player->quitReturned;
	return 0;
}


TEST_F(KXViewStopTest, QuitWaitsForAThreadThatClearedTheFlagAlready)
{
	EndingPlayer ending;
	thread_id thread = spawn_thread(FinishEnding, "CPU Player",
		B_NORMAL_PRIORITY, &ending);
	resume_thread(thread);
	window->Lock();
	view->cpuThread = thread;
	window->Unlock();

	std::atomic<bool> locked(false);
	std::thread quitter([&] {
		window->Lock();
		locked = true;
		view->Quit();
		// Still holding the lock, so that the window comes free before
		// this only if Quit lets go of it to wait.
		ending.quitReturned = true;
		window->Unlock();
	});
	while (!locked)
		std::this_thread::yield();
	while (window->LockingThread() >= 0)
		std::this_thread::yield();
	ending.release = true;
	quitter.join();
	wait_for_thread(thread, NULL);
	EXPECT_FALSE(ending.quitReturnedFirst);
}

}	// namespace
