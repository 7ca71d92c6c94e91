#include "BoardInvariants.h"
#include "GameFixture.h"

using kxtest::BoardState;


namespace {

class KXViewTest : public kxtest::GameTest {
protected:
	void
	NewGame(const Sequence& code)
	{
		window->Lock();
		view->Restart();
		window->Unlock();
		SetSecret(code);
	}

	void
	SetFlag(std::atomic<bool>& flag, bool value)
	{
		window->Lock();
		flag = value;
		window->Unlock();
	}
};


TEST_F(KXViewTest, NewGameClearsTheBoardAndDrawsASecret)
{
	NewGame(Sequence(1, 2, 3, 4, 5));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	DropAt(Hole(12, 0), PEG_WHITE);

	window->Lock();
	view->cpuActive = true;
	view->Ini();
	// Only the callers of Ini change the player's flag.
	EXPECT_TRUE(view->cpuActive);
	view->cpuActive = false;
	// The new secret's colours and its pegs agree.
	EXPECT_EQ(kxtest::BoardInvariants().Broken(view), "");
	window->Unlock();

	BoardState state = State();
	BoardState empty = state;
	memset(empty.hints, 0, sizeof(empty.hints));
	memset(empty.colors, 0xff, sizeof(empty.colors));
	empty.currentRow = kBoardFirstRow;
	empty.gameActive = true;
	EXPECT_TRUE(state == empty);
}


TEST_F(KXViewTest, DropLandsInTheHoleUnderThePointer)
{
	struct Case {
		int32  row; // the current row
		BPoint where;
		int32  hole; // -1 for a miss
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
		{ 13, BPoint(50, 225), -1 },
		{ 13, BPoint(0, 215), 0 },
		{ 13, BPoint(-7.9, 215), 0 },
		{ 13, BPoint(-8, 215), -1 },
		{ 0, BPoint(40, -14.9), 2 },
		{ 0, BPoint(40, 16.9), 2 },
		{ 0, BPoint(40, -15), -1 },
		{ 0, BPoint(40, 17), -1 },
	};

	for (const Case& test : cases) {
		SCOPED_TRACE(testing::Message()
			<< "row " << test.row << " at (" << test.where.x << ", "
			<< test.where.y << ")");
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
		EXPECT_EQ(after.CountPegs(test.row), 1);
		EXPECT_EQ(view->pegs[test.row][test.hole].bitmap,
			view->pegBitmaps[PEG_GREEN]);
	}
}


TEST_F(KXViewTest, MissUpdatesTheWindowButComputerPlayIgnoresDrops)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	DropAt(BPoint(120, 215), PEG_RED);

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
	window->Unlock();

	BoardState before = State();
	DropAt(Hole(13, 0), PEG_RED);
	EXPECT_TRUE(State() == before);
	SetFlag(view->cpuActive, false);
}


TEST_F(KXViewTest, FailingTheTopRowEndsTheGameAndLaterDropsChangeNothing)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	for (int32 row = kBoardFirstRow; row >= 0; row--)
		PlayRow(Sequence(0, 1, 2, 3, 4));
	BoardState over = State();
	EXPECT_EQ(over.currentRow, -1);
	EXPECT_FALSE(over.gameActive);
	EXPECT_EQ(over.CountPegs(0), kBoardHoleCount);

	// Just above the board the row works out as -1, the current row now.
	DropAt(BPoint(40, -15), PEG_WHITE);
	DropAt(BPoint(40, -30), PEG_WHITE);
	DropAt(Hole(0, 2), PEG_WHITE);
	EXPECT_TRUE(State() == over);

	// Colours beyond the palette would read past the peg images.
	NewGame(Sequence(8, 8, 8, 8, 8));
	BoardState fresh = State();
	DropAt(Hole(13, 2), kPegColorCount);
	DropAt(Hole(13, 2), PEG_NONE);
	EXPECT_TRUE(State() == fresh);
}


TEST_F(KXViewTest, GiveUpKeepsTheBoard)
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

	// Quit with no player about changes nothing; drops do not look at
	// gameActive.
	window->Lock();
	view->Quit();
	window->Unlock();
	DropAt(Hole(12, 2), PEG_GREY);
	EXPECT_EQ(State().colors[12][2], PEG_GREY);
}


TEST_F(KXViewTest, CPUPlayStartsAFreshGameAndThenIgnoresTheUser)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	window->PostMessage(MSG_GIVE_UP);
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(RunToPause(1));

	// The first peg of the opening guess, on a new board.
	BoardState playing = State();
	EXPECT_TRUE(playing.cpuActive);
	EXPECT_TRUE(playing.gameActive);
	EXPECT_EQ(playing.currentRow, kBoardFirstRow);
	EXPECT_EQ(playing.colors[13][0], PEG_RED);
	EXPECT_EQ(playing.CountPegs(13) + playing.CountPegs(12), 1);
	window->Lock();
	thread_id player = view->cpuThread;
	window->Unlock();
	EXPECT_GE(player, 0);

	harness.MoveTo(window, InWindow(Hole(13, 3)));
	ASSERT_TRUE(harness.display.WaitForInput());
	window->PostMessage(MSG_DROP);
	window->PostMessage(MSG_GIVE_UP);
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(harness.Settle(window));
	EXPECT_TRUE(State() == playing);
	EXPECT_EQ(view->cpuThread, player);
	EXPECT_EQ(clock.CountSleeps(), 1);
}

} // namespace
