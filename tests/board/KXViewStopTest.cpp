// Stopping the computer player from a thread that holds the main window's
// lock, which the player needs to finish its row.

#include "GameFixture.h"

using kxtest::Background;
using kxtest::BoardState;
using kxtest::kPegPause;


namespace {

class KXViewStopTest : public kxtest::GameTest {
protected:
	// Runs stop (Restart or Quit) with the window locked twice, on a thread
	// of its own, while the player pauses after its second peg; moves the
	// clock on until the stop returns. Gives the virtual time it waited.
	bigtime_t StopDuringSecondPause(void (KXView::*stop)())
	{
		StartPlayer(Sequence(1, 2, 0, 8, 8));
		EXPECT_TRUE(RunToPause(2));

		std::atomic<int32> locksAfter(0);
		std::atomic<bool> ownedAfter(false);
		bigtime_t requested = clock.Now();
		{
			Background stopper([&] {
				window->Lock();
				window->Lock();
				(view->*stop)();
				locksAfter = window->CountLocks();
				ownedAfter = window->LockingThread() == find_thread(NULL);
				window->Unlock();
				window->Unlock();
			});
			auto deadline = std::chrono::steady_clock::now()
				+ kxtest::kWatchdog;
			while (!stopper.Done()
				&& std::chrono::steady_clock::now() < deadline) {
				if (!view->cpuActive)
					clock.AdvanceToNextWakeup();
				std::this_thread::yield();
			}
			EXPECT_TRUE(stopper.Done());
			clock.SetAutomatic(true);
		}
		EXPECT_EQ(locksAfter, 2);
		EXPECT_TRUE(ownedAfter);
		return clock.Now() - requested;
	}
};


TEST_F(KXViewStopTest, RestartLetsThePlayerFinishItsRowThenStartsAFreshGame)
{
	bigtime_t waited = StopDuringSecondPause(&KXView::Restart);

	// Pegs 3 to 5 came after the stop request, each with its pause.
	EXPECT_EQ(waited, 4 * kPegPause);
	EXPECT_EQ(clock.CountSleeps(), 5);
	EXPECT_EQ(clock.CountSleepers(), 0);

	BoardState state = State();
	EXPECT_FALSE(state.cpuActive);
	EXPECT_TRUE(state.gameActive);
	EXPECT_EQ(state.currentRow, kBoardFirstRow);
	for (int32 r = 0; r < kBoardRowCount; r++) {
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			EXPECT_EQ(state.colors[r][h], PEG_NONE);
			EXPECT_EQ(state.hints[r][h], HINT_NONE);
		}
	}
}


TEST_F(KXViewStopTest, QuitLetsThePlayerScoreItsRowAndChangesNothingElse)
{
	bigtime_t waited = StopDuringSecondPause(&KXView::Quit);
	EXPECT_EQ(waited, 4 * kPegPause);

	BoardState state = State();
	EXPECT_EQ(Row(13), Sequence(0, 1, 2, 3, 4));
	// (1,2,0,8,8) against the opening guess: no exact, three colours.
	EXPECT_EQ(state.hints[13][0], HINT_COLOR);
	EXPECT_EQ(state.hints[13][2], HINT_COLOR);
	EXPECT_EQ(state.hints[13][3], HINT_NONE);
	EXPECT_EQ(state.currentRow, 12);
	EXPECT_FALSE(state.cpuActive);
	// The player was stopped, it did not end the game.
	EXPECT_TRUE(state.gameActive);

	clock.Advance(10 * kPegPause);
	EXPECT_TRUE(harness.Settle(window));
	EXPECT_TRUE(State() == state);
	EXPECT_EQ(clock.CountSleeps(), 5);
}

}	// namespace
