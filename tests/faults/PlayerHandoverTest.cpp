// "CPU Play" handled right when a computer game ends: one player at a time
// ever plays on the board.

#include "GameFixture.h"

namespace {

struct EndCase {
	const char* name;
	Sequence	secret;
	int64		pauses; // the player's pauses up to the scoring of its win
};

// A first-guess win, and a win on the second guess after the longest walk
// of the candidate list (14,240 codes share the first score).
const EndCase kEndCases[] = {
	{ "FirstGuess", Sequence(0, 1, 2, 3, 4), 5 },
	{ "SecondGuess", Sequence(1, 0, 0, 0, 5), 10 },
};


class PlayerHandover : public kxtest::GameTest {
protected:
	// Runs the clock until no player is left. At every step the board keeps
	// its promises and the only player thread alive, if any, is the view's
	// current one: thread ids grow, so an older player still alive is the
	// one found by name.
	void
	PlayOut()
	{
		EXPECT_TRUE(RunClockUntil([this] {
			bool over = false;
			Locked([&] {
				thread_id found = find_thread("CPU Player");
				EXPECT_TRUE(found < 0 || found == view->cpuThread)
					<< "player " << found << " runs beside " << view->cpuThread;
				EXPECT_EQ(kxtest::BoardState::Of(view).Broken(), "");
				over = !view->cpuActive && found < 0;
			});
			return over;
		}));
	}
};


TEST_F(PlayerHandover, CPUPlayAsTheComputersGameEnds)
{
	kxtest::Watchdog watchdog;
	// The moment is short: a few rounds give an overlap more chances.
	for (int round = 0; round < 3; round++) {
		for (const EndCase& c : kEndCases) {
			SCOPED_TRACE(c.name);
			// Progress is a game played, not the whole test's time.
			watchdog.Beat(c.name);
			StartPlayer(c.secret);
			ASSERT_TRUE(RunToPause(clock.CountSleeps() - 1 + c.pauses));

			// The player wakes from its last pause and scores its win; the
			// command is handled the moment the game is over, as the window
			// handles it.
			clock.AdvanceToNextWakeup();
			auto deadline =
				std::chrono::steady_clock::now() + kxtest::kWatchdog;
			// A busy wait: giving the core away could let the player run on
			// past the moment.
			while (view->cpuActive
				&& std::chrono::steady_clock::now() < deadline) {
			}
			Locked([&] { view->ToggleCPU(); });

			ASSERT_TRUE(SettleRunningClock(window));
			PlayOut();
		}
	}
}

} // namespace
