// "CPU Play" handled right when a computer game ends, and right when the
// quit begins: one player at a time ever plays on the board, and none is
// left running once the quit returns.

#include <atomic>
#include <thread>

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
	// Under the window's lock: the board keeps its promises and the only
	// player thread alive, if any, is the view's current one. Thread ids
	// grow, so an older player still alive is the one found by name.
	void
	ExpectOnePlayer(const char* when)
	{
		Locked([&] {
			thread_id found = find_thread("CPU Player");
			EXPECT_TRUE(found < 0 || found == view->cpuThread)
				<< when << ": player " << found << " runs beside "
				<< view->cpuThread;
			EXPECT_EQ(kxtest::BoardInvariants().Broken(view), "") << when;
		});
	}

	// Runs the clock until no player is left, checking at every step.
	void
	PlayOut()
	{
		EXPECT_TRUE(RunClockUntil([this] {
			ExpectOnePlayer("while playing out");
			return !view->cpuActive && find_thread("CPU Player") < 0;
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
			ExpectOnePlayer("after the command");
			PlayOut();
		}
	}
}


TEST_F(PlayerHandover, CPUPlayAsTheQuitBegins)
{
	kxtest::Watchdog watchdog;
	StartPlayer(Sequence(3, 1, 4, 1, 5));
	thread_id		  player = view->cpuThread;

	// The command is queued behind a quit that waits for the sleeping
	// player with the window unlocked.
	std::atomic<bool> returned(false);
	thread_id		  left = -1;
	thread_id		  current = -1;
	std::thread		  quitter([&] {
		  window->Lock();
		  window->PostMessage(MSG_CPU_PLAY);
		  view->Quit();
		  left = find_thread("CPU Player");
		  current = view->cpuThread;
		  window->Unlock();
		  returned = true;
	  });

	// The player sleeps on until the command has been handled.
	ASSERT_TRUE(Settle());
	EXPECT_FALSE(returned);
	clock.SetAutomatic(true);
	clock.AdvanceToNextWakeup();
	quitter.join();

	EXPECT_EQ(left, B_NAME_NOT_FOUND) << "a player outlived the quit";
	EXPECT_EQ(current, player) << "a player was started after the quit began";
	EXPECT_EQ(Broken(), "");
}

} // namespace
