// The computer player on a real board: its own thread, the main window's
// lock, and pauses on the manual clock.

#include <vector>

#include "CPUPlayer.h"
#include "GameFixture.h"
#include "Strategy.h"

using kxtest::BoardState;


namespace {

class CPUPlayerTest : public kxtest::GameTest { };


TEST_F(CPUPlayerTest, PlaysTheStrategyRowByRowUntilItWins)
{
	struct Game {
		Sequence secret;
		int32	 lastRow;
	};
	const Game games[] = {
		{ Sequence(0, 1, 2, 3, 4), 13 },
		{ Sequence(5, 5, 5, 5, 5), 12 },
		{ Sequence(8, 7, 6, 5, 4), 8 },
		{ Sequence(0, 0, 0, 0, 0), 6 },
		// One of the two secrets that take the player twelve rows.
		{ Sequence(7, 7, 8, 3, 5), 2 },
	};

	// One player after another on the same board, as the menu allows.
	for (const Game& game : games) {
		SCOPED_TRACE(
			testing::Message() << "secret " << SequenceValue(game.secret));
		clock.SetAutomatic(false);
		int64 sleepsBefore = clock.CountSleeps();
		StartPlayer(game.secret);
		FinishPlayer();

		BoardState			   state = State();
		std::vector<SolveStep> steps = SolveSecret(game.secret);
		ASSERT_EQ(steps.back().row, game.lastRow);
		// Each row scored, none above the last.
		for (const SolveStep& step : steps)
			EXPECT_EQ(state.Row(step.row), step.guess) << "row " << step.row;
		EXPECT_EQ(state.currentRow, game.lastRow);
		EXPECT_EQ(Broken(), "");
		EXPECT_FALSE(state.gameActive);
		EXPECT_FALSE(state.cpuActive);
		EXPECT_EQ(clock.CountSleeps() - sleepsBefore, 5 * (int64)steps.size());
	}
}


TEST_F(CPUPlayerTest, AStoppedPlayerOrABoardWithoutRowsLeftTakesNoPeg)
{
	// A player stopped before its first look at the board, as a New Game
	// right after CPU Play stops it, ends without a peg.
	BoardState before = State();
	thread_id  player =
		spawn_thread(CPUPlayer, "CPU Player", B_NORMAL_PRIORITY, view);
	ASSERT_EQ(wait_for_thread(player, nullptr), B_OK);
	EXPECT_TRUE(State() == before);

	// The last row has failed: the row index is -1, in front of the board.
	Locked([&] { view->currentRow = -1; });
	before = State();
	clock.SetAutomatic(true);
	Sequence guess = FirstGuess();
	EXPECT_TRUE(DropSequence(guess, view));
	EXPECT_TRUE(State() == before);
	EXPECT_EQ(clock.CountSleeps(), 0);
}


TEST_F(CPUPlayerTest, SecretChangedUnderThePlayerEndsTheGameInsteadOfGuessing)
{
	// Scores that no one code gives all together leave no candidate.
	StartPlayer(Sequence(5, 5, 5, 5, 5));
	ASSERT_TRUE(RunToPause(6));
	SetSecret(Sequence(5, 5, 5, 5, 0));
	ASSERT_TRUE(RunToPause(11));
	SetSecret(Sequence(0, 0, 0, 0, 0));
	FinishPlayer();

	BoardState state = State();
	EXPECT_EQ(clock.CountSleeps(), 15);
	EXPECT_EQ(state.currentRow, 10);
	EXPECT_EQ(state.CountPegs(10), 0);
	EXPECT_FALSE(state.gameActive);
	EXPECT_FALSE(state.cpuActive);
}

} // namespace
