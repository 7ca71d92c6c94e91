// Thousands of random user actions against the whole game on the headless
// display, while the computer player runs on its own thread with its pauses
// on the test clock. After every action the board must keep its promises.

#include <random>

#include "AboutBox.h"
#include "GameFixture.h"

namespace {

using kxtest::BoardState;

// 20,000 actions in all, split over shards so that each stays well inside
// the test runner's time limit under ThreadSanitizer and the two cores run
// two shards at once.
const int32 kShards = 8;
const int32 kActionsPerShard = 2500;

enum Action {
	ACTION_CLOCK,		  // lets the player (or a waiting press) go on
	ACTION_DRAG_TO_ROW,	  // a peg dragged into the current row
	ACTION_DRAG_ANYWHERE, // a peg dropped anywhere, off the window too
	ACTION_CLICK_PALETTE, // pressed and released without moving
	ACTION_PRESS_ANYWHERE,
	ACTION_NEW_GAME,
	ACTION_GIVE_UP,
	ACTION_CPU_PLAY,
	ACTION_ABOUT,
	ACTION_COUNT
};

const char* kActionNames[ACTION_COUNT] = { "clock", "drag to row",
	"drag anywhere", "click palette", "press anywhere", "New Game", "Give Up",
	"CPU Play", "About and OK" };

const int	kActionWeights[ACTION_COUNT] = { 30, 25, 10, 5, 5, 6, 5, 6, 2 };


class Stress : public kxtest::GameTest,
			   public ::testing::WithParamInterface<int32> {
protected:
	int32
	Random(int32 low, int32 high)
	{
		return std::uniform_int_distribution<int32>(low, high)(fRandom);
	}

	// A window point in a rectangle of the board but its right and bottom
	// lines, which the next hole or row takes.
	BPoint
	In(BRect rect)
	{
		return InWindow(BPoint(Random((int32)rect.left, (int32)rect.right - 1),
			Random((int32)rect.top, (int32)rect.bottom - 1)));
	}

	// Drags the peg of a palette slot to a window point and checks that a
	// drop on the board took the hole that the pointer was over, or left
	// the board alone.
	void
	DragTo(BPoint to)
	{
		int32	   color = Random(0, kPegColorCount - 1);
		BoardState before = State();
		// Clear of the lines that slots share.
		Gesture(In(PaletteSlotRect(color).InsetByCopy(1, 1)), to, true);
		if (before.cpuActive || !before.gameActive || HasFatalFailure())
			return;

		BoardState after = State();
		int32	   row;
		int32	   hole;
		HoleAt(to - kBoardFrame.LeftTop(), &row, &hole);
		if (kBoardFrame.Contains(to) && row == before.currentRow && hole >= 0
			&& hole < kBoardHoleCount) {
			fHits++;
			if (after.currentRow == before.currentRow && after.gameActive) {
				EXPECT_EQ(after.colors[row][hole], color);
			} else {
				EXPECT_EQ(after.CountPegs(row), kBoardHoleCount) << "unfilled";
			}
		} else if (!OnMenuBar(to)) {
			// The window hands a drop on its menu bar to the board as well.
			EXPECT_TRUE(after == before)
				<< "a drop beside the current row changed the board";
		}
	}

	BPoint
	InCurrentRow()
	{
		int32 row = State().currentRow;
		if (row < 0)
			row = Random(0, kBoardFirstRow);
		return In(HoleRect(row, Random(0, kBoardHoleCount - 1)));
	}

	static bool
	OnMenuBar(BPoint where)
	{
		return where.y >= 0 && where.y < kBoardFrame.top && where.x >= 0
			&& where.x < 160;
	}

	// In the window, on its menu bar too, or beside it on the desktop.
	BPoint
	Anywhere()
	{
		return BPoint(Random(-30, 300), Random(-30, 300));
	}

	void
	Do(Action action)
	{
		switch (action) {
			case ACTION_CLOCK:
				if (clock.CountSleepers() > 0)
					clock.AdvanceToNextWakeup();
				break;
			case ACTION_DRAG_TO_ROW:
				DragTo(InCurrentRow());
				break;
			case ACTION_DRAG_ANYWHERE:
				DragTo(Anywhere());
				break;
			case ACTION_CLICK_PALETTE:
			case ACTION_PRESS_ANYWHERE: {
				// Anywhere but the menu bar, which the menu actions use.
				BPoint where = action == ACTION_CLICK_PALETTE
					? In(PaletteSlotRect(Random(0, kPegColorCount - 1))
							 .InsetByCopy(1, 1))
					: Anywhere();
				if (OnMenuBar(where))
					where.y += kBoardFrame.top;
				BoardState before = State();
				Gesture(where, where, false);
				if (!before.cpuActive) {
					EXPECT_TRUE(State() == before) << "a click sent a peg";
				}
				break;
			}
			case ACTION_NEW_GAME:
			case ACTION_GIVE_UP:
			case ACTION_CPU_PLAY:
				// The first three items of the menu, in this order.
				Choose(action - ACTION_NEW_GAME);
				if (action == ACTION_NEW_GAME)
					ExpectUsersGame(kBoardFirstRow);
				break;
			case ACTION_ABOUT: {
				AboutBox* box = app->aboutBox;
				Choose(3);
				ASSERT_TRUE(Settle(box));
				ASSERT_FALSE(box->IsHidden());
				box->PostMessage(MSG_ABOUT_OK);
				ASSERT_TRUE(Settle(box));
				EXPECT_TRUE(box->IsHidden());
				break;
			}
			default:
				break;
		}
	}

	std::mt19937					fRandom;
	std::discrete_distribution<int> fPick { std::begin(kActionWeights),
		std::end(kActionWeights) };
	int64							fHits = 0;
};


TEST_P(Stress, RandomActionsKeepTheBoardWhole)
{
	fRandom.seed(0x4b58 + GetParam());
	int64 actions[ACTION_COUNT] = {};

	for (int32 i = 0; i < kActionsPerShard; i++) {
		Action action = (Action)fPick(fRandom);
		harness.watchdog.Beat(kActionNames[action]);
		SCOPED_TRACE(testing::Message()
			<< "action " << i << " (" << kActionNames[action] << ") of shard "
			<< GetParam());
		Do(action);
		actions[action]++;
		ASSERT_EQ(Broken(), "");
		if (HasFailure())
			return;
	}

	// A stop request to a paused player lets it finish its row; the game
	// then ends without a hang.
	clock.SetAutomatic(true);
	ASSERT_TRUE(harness.Quit());
	EXPECT_LT(find_thread("CPU Player"), 0);

	// Every kind of action ran, and drags did reach the board.
	for (int32 a = 0; a < ACTION_COUNT; a++)
		EXPECT_GT(actions[a], 0) << kActionNames[a];
	EXPECT_GT(fHits, kActionsPerShard / 20);
}

INSTANTIATE_TEST_SUITE_P(Shards, Stress, ::testing::Range(0, kShards));

} // namespace
