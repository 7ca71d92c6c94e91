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
// of the candidate list (14,240 codes share the first score), which the
// player frees on its way out.
const EndCase kEndCases[] = {
	{ "FirstGuess", Sequence(0, 1, 2, 3, 4), 5 },
	{ "SecondGuess", Sequence(1, 0, 0, 0, 5), 10 },
};

using PlayerHandover = kxtest::GameTest;


TEST_F(PlayerHandover, CPUPlayAsTheComputersGameEnds)
{
	// The moment is short: a few rounds give an overlap more chances.
	for (int round = 0; round < 10; round++) {
		for (const EndCase& c : kEndCases) {
			SCOPED_TRACE(c.name);
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
			Locked([&] {
				view->ToggleCPU();
				// Thread ids grow, so an older player still alive is the
				// one found by name.
				EXPECT_EQ(find_thread("CPU Player"), view->cpuThread)
					<< "a new player runs beside the old one";
			});
			FinishPlayer();
			EXPECT_EQ(Broken(), "");
			clock.SetAutomatic(false);
		}
	}
}

} // namespace
