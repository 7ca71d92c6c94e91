// Stopping the computer player at every point of its game: in each pause,
// while it waits for the window to score its row, and right after a row is
// scored, while it builds or walks its candidate list. The stop comes from a
// thread that holds the main window's lock, as every menu command does.

#include <thread>

#include "GameFixture.h"

namespace {

using kxtest::kPegPause;

enum Stop {
	STOP_NEW_GAME, // KXView::Restart
	STOP_QUIT,	   // KXView::Quit, which leaves the board as it is, with a
				   // "CPU Play" queued behind it that must start no player
	STOP_CLOSE	   // KXWindow::QuitRequested: the whole program ends
};

enum Phase {
	PHASE_PAUSE,	  // asleep after peg `peg` of the row
	PHASE_SCORING,	  // awake after the last pause, waiting for the lock
	PHASE_AFTER_SCORE // the row has just been scored: the list work runs
};

struct Case {
	Stop  stop;
	Phase phase;
	int32 row; // 13: the opening guess; 12: the first from the list
	int32 peg; // for PHASE_PAUSE, 1 to 5
};

const char*	   kStopNames[] = { "NewGame", "Quit", "Close" };

// Takes five rows, so the player is still at work on rows 13 and 12.
const Sequence kSecret(3, 1, 4, 1, 5);

// The pauses the player sleeps before the row of the case is scored.
int64
PausesThroughRow(int32 row)
{
	return (kBoardFirstRow - row + 1) * (int64)kBoardHoleCount;
}

class StopPhase : public kxtest::GameTest,
				  public ::testing::WithParamInterface<Case> { };


TEST_P(StopPhase, TheRowInProgressEndsScoredAndNothingFollows)
{
	const Case& c = GetParam();
	StartPlayer(kSecret);
	int64 lastPause = PausesThroughRow(c.row);
	if (c.phase == PHASE_PAUSE)
		ASSERT_TRUE(RunToPause(lastPause - kBoardHoleCount + c.peg));
	else
		ASSERT_TRUE(RunToPause(lastPause));

	// The stopper holds the window's lock twice, as a menu command does when
	// the window's own code locks it again.
	std::atomic<bool> requested(false);
	std::atomic<bool> done(false);
	std::atomic<bool> playerGone(false);
	// Where the request found the player after the scoring phase.
	bool			  scored = false;
	bool			  nextBegun = false;
	bigtime_t		  requestTime = 0;
	std::thread		  stopper([&] {
		  window->Lock();
		  window->Lock();
		  if (c.phase != PHASE_PAUSE) {
			  // The player wakes from its last pause and needs the lock to
			  // score: the request comes first.
			  clock.AdvanceToNextWakeup();
			  kxtest::PollUntil([&] { return clock.CountSleepers() == 0; });
		  }
		  if (c.phase == PHASE_AFTER_SCORE) {
			  // Hand the lock over and take it back at once, which lands
			  // right after the scoring while the player builds or walks its
			  // list (or, if it loses the race for the lock, just before).
			  window->Unlock();
			  window->Unlock();
			  std::this_thread::yield();
			  window->Lock();
			  window->Lock();
			  scored = view->currentRow == c.row - 1;
			  nextBegun =
				  scored && view->pegs[c.row - 1][0].colorIndex != PEG_NONE;
		  }
		  requestTime = clock.Now();
		  requested = true;
		  if (c.stop == STOP_NEW_GAME)
			  view->Restart();
		  else if (c.stop == STOP_QUIT) {
			  window->PostMessage(MSG_CPU_PLAY);
			  view->Quit();
		  } else
			  window->QuitRequested();
		  playerGone = find_thread("CPU Player") < 0;
		  window->Unlock();
		  window->Unlock();
		  done = true;
	  });

	// Time moves only once the stop was asked for, and only while the
	// player sleeps.
	ASSERT_TRUE(kxtest::PollUntil([&] {
		if (requested && clock.CountSleepers() > 0)
			clock.AdvanceToNextWakeup();
		return done.load();
	})) << "the stop never returned";
	stopper.join();
	bigtime_t waited = clock.Now() - requestTime;

	EXPECT_TRUE(playerGone) << "the player's thread outlived the stop";
	// The row was completed: every pause of it was slept, and no more. A
	// player that had already gone on to its next guess finishes that row.
	int32	  lastRow = c.row;
	bigtime_t rowLeft =
		c.phase == PHASE_PAUSE ? (kBoardHoleCount - c.peg + 1) * kPegPause : 0;
	if (scored && clock.CountSleeps() > lastPause) {
		EXPECT_FALSE(
			nextBegun && clock.CountSleeps() != lastPause + kBoardHoleCount);
		lastPause += kBoardHoleCount;
		lastRow--;
		rowLeft = kBoardHoleCount * kPegPause;
	}
	EXPECT_EQ(clock.CountSleeps(), lastPause);
	EXPECT_EQ(waited, rowLeft);

	if (c.stop == STOP_CLOSE) {
		EXPECT_TRUE(harness.WaitForQuit());
		return;
	}

	// A new game starts on an empty board; after a quit the scored row
	// stands and the game itself goes on for the user.
	ExpectUsersGame(c.stop == STOP_NEW_GAME ? kBoardFirstRow : lastRow - 1);
	kxtest::BoardState state = State();

	// Nothing of the stopped game arrives later.
	clock.Advance(20 * kPegPause);
	EXPECT_TRUE(Settle());
	EXPECT_TRUE(State() == state);
	EXPECT_EQ(clock.CountSleeps(), lastPause);
}


std::vector<Case>
AllCases()
{
	std::vector<Case> cases;
	for (Stop stop : { STOP_NEW_GAME, STOP_QUIT, STOP_CLOSE }) {
		for (int32 row : { 13, 12 }) {
			for (int32 peg = 1; peg <= kBoardHoleCount; peg++)
				cases.push_back({ stop, PHASE_PAUSE, row, peg });
			cases.push_back({ stop, PHASE_SCORING, row, 0 });
			cases.push_back({ stop, PHASE_AFTER_SCORE, row, 0 });
		}
	}
	return cases;
}


// Row 13's score is followed by the list's building, later rows' by a walk
// over it.
std::string
CaseName(const ::testing::TestParamInfo<Case>& info)
{
	const Case& c = info.param;
	const char* phases[] = { "PauseAfterPeg", "WaitingToScore",
		c.row == kBoardFirstRow ? "BuildingTheList" : "WalkingTheList" };
	return std::string(kStopNames[c.stop]) + "Row" + std::to_string(c.row)
		+ phases[c.phase] + (c.peg > 0 ? std::to_string(c.peg) : "");
}

INSTANTIATE_TEST_SUITE_P(
	EveryPhase, StopPhase, ::testing::ValuesIn(AllCases()), CaseName);

} // namespace
