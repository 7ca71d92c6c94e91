// The computer player on a real board: its own thread, the main window's
// lock, and pauses on the manual clock.

#include <OS.h>

#include <vector>

#include "CPUPlayer.h"
#include "GameFixture.h"
#include "Strategy.h"

using kxtest::BoardState;
using kxtest::kPegPause;


namespace {

class CPUPlayerTest : public kxtest::GameTest {
protected:
	int32 CountPegs(int32 row)
	{
		BoardState state = State();
		int32 count = 0;
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			if (state.colors[row][h] != PEG_NONE)
				count++;
		}
		return count;
	}

	void CountMarks(int32 row, int32& exact, int32& color)
	{
		BoardState state = State();
		exact = 0;
		color = 0;
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			if (state.hints[row][h] == HINT_EXACT)
				exact++;
			else if (state.hints[row][h] == HINT_COLOR)
				color++;
		}
	}
};


TEST_F(CPUPlayerTest, PlaysTheStrategyRowByRowUntilItWins)
{
	struct Game {
		Sequence secret;
		int32 lastRow;
	};
	const Game games[] = {
		{ Sequence(0, 1, 2, 3, 4), 13 },
		{ Sequence(5, 5, 5, 5, 5), 12 },
		{ Sequence(8, 7, 6, 5, 4), 8 },
		{ Sequence(3, 1, 4, 1, 5), 9 },
		{ Sequence(0, 0, 0, 0, 0), 6 },
		// One of the two secrets that take the player twelve rows.
		{ Sequence(7, 7, 8, 3, 5), 2 },
	};

	for (const Game& game : games) {
		SCOPED_TRACE(testing::Message() << "secret value "
			<< SequenceValue(game.secret));
		clock.SetAutomatic(false);
		int64 sleepsBefore = clock.CountSleeps();
		StartPlayer(game.secret);
		FinishPlayer();

		std::vector<SolveStep> steps = SolveSecret(game.secret);
		ASSERT_EQ(steps.back().row, game.lastRow);
		for (const SolveStep& step : steps) {
			SCOPED_TRACE(testing::Message() << "row " << step.row);
			EXPECT_EQ(Row(step.row), step.guess);
			int32 exact;
			int32 color;
			CountMarks(step.row, exact, color);
			EXPECT_EQ(exact, step.exact);
			EXPECT_EQ(color, step.color);
		}
		for (int32 row = game.lastRow - 1; row >= 0; row--)
			EXPECT_EQ(CountPegs(row), 0) << "row " << row;

		BoardState state = State();
		EXPECT_EQ(state.currentRow, game.lastRow);
		EXPECT_FALSE(state.gameActive);
		EXPECT_FALSE(state.cpuActive);
		EXPECT_EQ(clock.CountSleeps() - sleepsBefore,
			5 * (int64)steps.size());
	}
}


TEST_F(CPUPlayerTest, LargestFirstScoreLeadsToTheNextCodeInOrder)
{
	// No exact mark and two colour marks leave the most candidates.
	StartPlayer(Sequence(1, 0, 5, 5, 5));
	FinishPlayer();
	int32 exact;
	int32 color;
	CountMarks(13, exact, color);
	EXPECT_EQ(exact, 0);
	EXPECT_EQ(color, 2);
	EXPECT_EQ(Row(12), Sequence(1, 0, 0, 0, 5));
}


TEST_F(CPUPlayerTest, PlacesOnePegEveryHalfSecondAndScoresAfterTheFifth)
{
	StartPlayer(Sequence(8, 7, 6, 5, 4));
	bigtime_t start = clock.Now();

	for (int64 pause = 1; pause <= 10; pause++) {
		SCOPED_TRACE(testing::Message() << "pause " << pause);
		ASSERT_TRUE(RunToPause(pause));
		EXPECT_EQ(clock.Now() - start, (pause - 1) * kPegPause);

		int32 exact;
		int32 color;
		CountMarks(13, exact, color);
		if (pause <= 5) {
			EXPECT_EQ(CountPegs(13), pause);
			EXPECT_EQ(exact + color, 0);
		} else {
			// The next row begins as soon as the list is up to date.
			EXPECT_EQ(exact, 1);
			EXPECT_EQ(color, 0);
			EXPECT_EQ(CountPegs(12), pause - 5);
			EXPECT_EQ(State().currentRow, 12);
		}
	}
	EXPECT_EQ(Row(12), Sequence(4, 4, 4, 4, 4));
}


TEST_F(CPUPlayerTest, NewGameDuringAPauseWaitsForTheRowAndClearsTheBoard)
{
	StartPlayer(Sequence(8, 7, 6, 5, 4));
	ASSERT_TRUE(RunToPause(4));

	// The menu command, handled on the window's own thread.
	window->PostMessage(MSG_NEW_GAME);
	FinishPlayer();
	ASSERT_TRUE(harness.Settle(window));

	EXPECT_EQ(clock.CountSleeps(), 5);
	BoardState state = State();
	EXPECT_FALSE(state.cpuActive);
	EXPECT_TRUE(state.gameActive);
	EXPECT_EQ(state.currentRow, kBoardFirstRow);
	for (int32 row = 0; row < kBoardRowCount; row++)
		EXPECT_EQ(CountPegs(row), 0);
}


TEST_F(CPUPlayerTest, StopAfterTheFirstScoreEndsWithoutAnotherPeg)
{
	StartPlayer(Sequence(8, 7, 6, 5, 4));
	ASSERT_TRUE(RunToPause(5));
	clock.AdvanceToNextWakeup();

	// Stop as soon as the first row is scored: the player is then testing
	// its flag or walking all the codes, and places nothing more.
	auto deadline = std::chrono::steady_clock::now() + kxtest::kWatchdog;
	bool stopped = false;
	while (!stopped && std::chrono::steady_clock::now() < deadline) {
		window->Lock();
		if (view->currentRow == 12) {
			view->Quit();
			stopped = true;
		}
		window->Unlock();
	}
	ASSERT_TRUE(stopped);

	EXPECT_EQ(clock.CountSleeps(), 5);
	EXPECT_EQ(CountPegs(12), 0);
	BoardState state = State();
	EXPECT_EQ(state.currentRow, 12);
	EXPECT_FALSE(state.cpuActive);
	EXPECT_TRUE(state.gameActive);
}


TEST_F(CPUPlayerTest, PlayerToldToStopBeforeItBeginsPlacesNothing)
{
	BoardState before = State();
	ASSERT_FALSE(before.cpuActive);

	thread_id player = spawn_thread(CPUPlayer, "CPU Player",
		B_NORMAL_PRIORITY, view);
	ASSERT_GE(player, 0);
	resume_thread(player);
	status_t result = -1;
	ASSERT_EQ(wait_for_thread(player, &result), B_OK);

	EXPECT_EQ(result, 0);
	EXPECT_TRUE(State() == before);
	EXPECT_EQ(clock.CountSleeps(), 0);
}


TEST_F(CPUPlayerTest, SecretChangedUnderThePlayerEndsTheGameInsteadOfGuessing)
{
	// Scores that no code can give all together leave no candidate: the
	// player must not guess from the empty list.
	StartPlayer(Sequence(5, 5, 5, 5, 5));
	ASSERT_TRUE(RunToPause(6));
	EXPECT_EQ(Row(13), Sequence(0, 1, 2, 3, 4));
	SetSecret(Sequence(5, 5, 5, 5, 0));
	ASSERT_TRUE(RunToPause(11));
	SetSecret(Sequence(0, 0, 0, 0, 0));
	FinishPlayer();

	EXPECT_EQ(clock.CountSleeps(), 15);
	BoardState state = State();
	EXPECT_EQ(state.currentRow, 10);
	EXPECT_EQ(CountPegs(10), 0);
	EXPECT_FALSE(state.gameActive);
	EXPECT_FALSE(state.cpuActive);
}


TEST_F(CPUPlayerTest, ClosingTheWindowEndsThePlayerFirst)
{
	StartPlayer(Sequence(8, 7, 6, 5, 4));
	ASSERT_TRUE(RunToPause(3));

	harness.display.RequestClose(window);
	ASSERT_TRUE(harness.display.WaitForInput());
	clock.SetAutomatic(true);
	ASSERT_TRUE(harness.WaitForQuit());

	// The row in progress was finished; nothing came after it.
	EXPECT_EQ(clock.CountSleeps(), 5);
	EXPECT_LT(find_thread("CPU Player"), 0);
}

}	// namespace
