#include <Message.h>

#include <vector>

#include "GameFixture.h"

using kxtest::BoardState;


namespace {

class KXViewTest : public kxtest::GameTest {
protected:
	// A fresh user game with a known secret.
	void NewGame(const Sequence& code)
	{
		window->Lock();
		view->Restart();
		window->Unlock();
		SetSecret(code);
	}

	int32 CountPegs(const BoardState& state, int32 row)
	{
		int32 count = 0;
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			if (state.colors[row][h] != PEG_NONE)
				count++;
		}
		return count;
	}

	void ExpectMarks(int32 row, std::vector<int32> marks)
	{
		BoardState state = State();
		for (int32 h = 0; h < kBoardHoleCount; h++)
			EXPECT_EQ(state.hints[row][h], marks[h]) << "place " << h;
	}
};


TEST_F(KXViewTest, NewGameClearsTheBoardAndDrawsASecret)
{
	NewGame(Sequence(1, 2, 3, 4, 5));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	DropAt(Hole(12, 0), PEG_WHITE);

	// Ini leaves the player's flag alone: only the callers change it.
	window->Lock();
	view->cpuActive = true;
	view->Ini();
	EXPECT_TRUE(view->cpuActive);
	view->cpuActive = false;
	window->Unlock();

	BoardState state = State();
	for (int32 r = 0; r < kBoardRowCount; r++) {
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			EXPECT_EQ(state.colors[r][h], PEG_NONE);
			EXPECT_EQ(state.hints[r][h], HINT_NONE);
			EXPECT_EQ(view->pegs[r][h].bitmap, nullptr);
		}
	}
	EXPECT_EQ(state.currentRow, kBoardFirstRow);
	EXPECT_TRUE(state.gameActive);
	for (int32 h = 0; h < kBoardHoleCount; h++) {
		int32 color = state.secret.colors[h];
		EXPECT_GE(color, 0);
		EXPECT_LT(color, kPegColorCount);
		EXPECT_EQ(view->secretPegs[h].colorIndex, color);
		EXPECT_EQ(view->secretPegs[h].bitmap, view->pegBitmaps[color]);
	}
}


TEST_F(KXViewTest, DropLandsInTheHoleUnderThePointer)
{
	struct Case {
		int32 row;		// the current row
		BPoint where;
		int32 hole;		// -1: a miss
	};
	// Conversions and divisions truncate toward zero, so the first hole and
	// the top row reach a little beyond their edges.
	const Case cases[] = {
		{ 13, BPoint(8, 209), 0 },
		{ 13, BPoint(87.9, 224.9), 4 },
		{ 13, BPoint(23.9, 215), 0 },
		{ 13, BPoint(24, 215), 1 },
		{ 13, BPoint(88, 220), -1 },
		{ 13, BPoint(50, 208.5), -1 },
		{ 13, BPoint(0, 215), 0 },
		{ 13, BPoint(-7.9, 215), 0 },
		{ 13, BPoint(-8, 215), -1 },
		{ 13, BPoint(50, 225), -1 },
		{ 0, BPoint(40, -14.9), 2 },
		{ 0, BPoint(40, 0.5), 2 },
		{ 0, BPoint(40, 16.9), 2 },
		{ 0, BPoint(40, -15), -1 },
		{ 0, BPoint(40, 17), -1 },
	};

	for (const Case& test : cases) {
		SCOPED_TRACE(testing::Message() << "row " << test.row << " at ("
			<< test.where.x << ", " << test.where.y << ")");
		NewGame(Sequence(8, 8, 8, 8, 8));
		window->Lock();
		view->currentRow = test.row;
		window->Unlock();
		BoardState before = State();

		DropAt(test.where, PEG_GREEN);

		BoardState after = State();
		if (test.hole < 0) {
			EXPECT_TRUE(after == before);
			continue;
		}
		EXPECT_EQ(after.colors[test.row][test.hole], PEG_GREEN);
		EXPECT_EQ(view->pegs[test.row][test.hole].bitmap,
			view->pegBitmaps[PEG_GREEN]);
		EXPECT_EQ(CountPegs(after, test.row), 1);
	}
}


TEST_F(KXViewTest, MissUpdatesTheWindowButADropDuringComputerPlayDoesNot)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	PointAt(BPoint(120, 215));

	window->Lock();
	view->Invalidate();
	int32 presents = harness.display.CountPresents(window);
	view->Drop(PEG_RED);
	EXPECT_GT(harness.display.CountPresents(window), presents);

	view->cpuActive = true;
	view->Invalidate();
	presents = harness.display.CountPresents(window);
	view->Drop(PEG_RED);
	EXPECT_EQ(harness.display.CountPresents(window), presents);
	view->cpuActive = false;
	window->Unlock();

	// A drop on the current row while the computer plays is ignored too.
	window->Lock();
	view->cpuActive = true;
	window->Unlock();
	BoardState before = State();
	DropAt(Hole(13, 0), PEG_RED);
	EXPECT_TRUE(State() == before);
	window->Lock();
	view->cpuActive = false;
	window->Unlock();
}


TEST_F(KXViewTest, ColourOutsideThePaletteIsAMiss)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	BoardState before = State();
	DropAt(Hole(13, 2), kPegColorCount);
	DropAt(Hole(13, 2), PEG_NONE);
	DropAt(Hole(13, 2), -1000);
	EXPECT_TRUE(State() == before);
}


TEST_F(KXViewTest, FullRowIsScoredOnceWithExactMarksFirst)
{
	NewGame(Sequence(0, 0, 1, 2, 3));
	DropAt(Hole(13, 2), PEG_YELLOW);
	DropAt(Hole(13, 2), PEG_RED);
	EXPECT_EQ(State().colors[13][2], PEG_RED);

	DropAt(Hole(13, 0), PEG_RED);
	DropAt(Hole(13, 1), PEG_YELLOW);
	DropAt(Hole(13, 3), PEG_PURPLE);
	BoardState partial = State();
	EXPECT_EQ(partial.currentRow, 13);
	for (int32 h = 0; h < kBoardHoleCount; h++)
		EXPECT_EQ(partial.hints[13][h], HINT_NONE);

	DropAt(Hole(13, 4), PEG_PURPLE);
	EXPECT_EQ(view->exactCount, 1);
	EXPECT_EQ(view->colorCount, 2);
	ExpectMarks(13, { HINT_EXACT, HINT_COLOR, HINT_COLOR, HINT_NONE,
		HINT_NONE });
	EXPECT_EQ(Row(13), Sequence(0, 1, 0, 4, 4));
	EXPECT_EQ(State().currentRow, 12);
	EXPECT_TRUE(State().gameActive);
}


TEST_F(KXViewTest, RightGuessWinsOnItsRow)
{
	NewGame(Sequence(6, 6, 6, 6, 6));
	PlayRow(Sequence(6, 6, 6, 5, 6));
	PlayRow(Sequence(6, 6, 6, 6, 6));

	ExpectMarks(13, { HINT_EXACT, HINT_EXACT, HINT_EXACT, HINT_EXACT,
		HINT_NONE });
	ExpectMarks(12, { HINT_EXACT, HINT_EXACT, HINT_EXACT, HINT_EXACT,
		HINT_EXACT });
	BoardState state = State();
	EXPECT_EQ(state.currentRow, 12);
	EXPECT_FALSE(state.gameActive);
	EXPECT_EQ(view->exactCount, 5);
}


TEST_F(KXViewTest, FailingTheTopRowEndsTheGameAndLaterDropsChangeNothing)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	for (int32 row = kBoardFirstRow; row >= 0; row--) {
		PlayRow(Sequence(0, 1, 2, 3, 4));
		EXPECT_EQ(State().currentRow, row - 1);
	}
	BoardState over = State();
	EXPECT_EQ(over.currentRow, -1);
	EXPECT_FALSE(over.gameActive);
	for (int32 r = 0; r < kBoardRowCount; r++)
		EXPECT_EQ(CountPegs(over, r), kBoardHoleCount);

	// Just above the board the row works out as -1, the current row now.
	DropAt(BPoint(40, -15), PEG_WHITE);
	DropAt(BPoint(40, -30), PEG_WHITE);
	DropAt(Hole(0, 2), PEG_WHITE);
	DropAt(Hole(13, 2), PEG_WHITE);
	EXPECT_TRUE(State() == over);
}


TEST_F(KXViewTest, DropMessageTakesTheColourAndThePointer)
{
	NewGame(Sequence(8, 8, 8, 8, 8));

	PointAt(Hole(13, 1));
	BMessage drop(MSG_DROP);
	drop.AddInt32("Kalvex:color", PEG_BLACK);
	window->PostMessage(&drop);
	ASSERT_TRUE(harness.Settle(window));
	EXPECT_EQ(State().colors[13][1], PEG_BLACK);

	// Without the field the colour reads as 0, a red peg.
	PointAt(Hole(13, 3));
	window->PostMessage(MSG_DROP);
	ASSERT_TRUE(harness.Settle(window));
	EXPECT_EQ(State().colors[13][3], PEG_RED);
}


TEST_F(KXViewTest, GiveUpKeepsTheBoardAndEndsTheGame)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	DropAt(Hole(12, 1), PEG_GREY);
	BoardState playing = State();

	window->PostMessage(MSG_GIVE_UP);
	ASSERT_TRUE(harness.Settle(window));
	BoardState over = State();
	EXPECT_FALSE(over.gameActive);
	over.gameActive = true;
	EXPECT_TRUE(over == playing);

	// The rules do not look at gameActive: a drop still lands.
	DropAt(Hole(12, 2), PEG_GREY);
	EXPECT_EQ(State().colors[12][2], PEG_GREY);
}


TEST_F(KXViewTest, GiveUpIsIgnoredWhileTheComputerPlays)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	window->Lock();
	view->cpuActive = true;
	view->GiveUp();
	EXPECT_TRUE(view->gameActive);
	view->cpuActive = false;
	window->Unlock();
}


TEST_F(KXViewTest, NewGameStartsAFreshUserGameFromEveryState)
{
	// Nothing ever played: no thread to wait for.
	window->PostMessage(MSG_NEW_GAME);
	ASSERT_TRUE(harness.Settle(window));
	EXPECT_EQ(PlayerThread(), -1);

	auto expectFresh = [&] {
		BoardState state = State();
		EXPECT_EQ(state.currentRow, kBoardFirstRow);
		EXPECT_TRUE(state.gameActive);
		EXPECT_FALSE(state.cpuActive);
		for (int32 r = 0; r < kBoardRowCount; r++)
			EXPECT_EQ(CountPegs(state, r), 0);
	};

	NewGame(Sequence(8, 8, 8, 8, 8));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	window->PostMessage(MSG_NEW_GAME);
	ASSERT_TRUE(harness.Settle(window));
	expectFresh();

	SetSecret(Sequence(8, 8, 8, 8, 8));
	PlayRow(Sequence(8, 8, 8, 8, 8));
	ASSERT_FALSE(State().gameActive);
	window->PostMessage(MSG_NEW_GAME);
	ASSERT_TRUE(harness.Settle(window));
	expectFresh();
}


TEST_F(KXViewTest, CPUPlayDropsTheUserGameAndStartsThePlayer)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	DropAt(Hole(12, 0), PEG_WHITE);

	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(RunToPause(1));

	// The player has put the first peg of its opening guess on a new board.
	BoardState state = State();
	EXPECT_TRUE(state.cpuActive);
	EXPECT_TRUE(state.gameActive);
	EXPECT_EQ(state.currentRow, kBoardFirstRow);
	EXPECT_EQ(state.colors[13][0], PEG_RED);
	EXPECT_EQ(CountPegs(state, 13), 1);
	EXPECT_EQ(CountPegs(state, 12), 0);
	EXPECT_GE(PlayerThread(), 0);
}


TEST_F(KXViewTest, CPUPlayStartsFromAnEndedGame)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	window->PostMessage(MSG_GIVE_UP);
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(RunToPause(1));
	BoardState state = State();
	EXPECT_TRUE(state.cpuActive);
	EXPECT_TRUE(state.gameActive);
}


TEST_F(KXViewTest, CommandsOfTheUserAreIgnoredWhileTheComputerPlays)
{
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(RunToPause(1));
	thread_id player = PlayerThread();
	BoardState before = State();

	PointAt(Hole(13, 3));
	window->PostMessage(MSG_DROP);
	window->PostMessage(MSG_GIVE_UP);
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(harness.Settle(window));

	EXPECT_TRUE(State() == before);
	EXPECT_EQ(PlayerThread(), player);
	EXPECT_EQ(clock.CountSleeps(), 1);
}


TEST_F(KXViewTest, QuitWithoutAPlayerChangesNothing)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	BoardState before = State();
	window->Lock();
	view->Quit();
	window->Unlock();
	EXPECT_TRUE(State() == before);
}

}	// namespace
