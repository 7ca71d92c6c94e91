// The board's rules: the secret, where a dropped peg lands, the end of a
// game, and how the view hands the board to and from the computer player.

#include <Bitmap.h>

#include <filesystem>
#include <set>
#include <unistd.h>

#include "GameFixture.h"

namespace fs = std::filesystem;
using kxtest::BoardState;

namespace {

class KXViewTest : public kxtest::GameTest {
protected:
	void
	NewGame(const Sequence& code)
	{
		Locked([&] { view->Restart(); });
		SetSecret(code);
	}
};


TEST_F(KXViewTest, NewGameClearsTheBoardAndDrawsEveryColourInEveryHole)
{
	NewGame(Sequence(1, 2, 3, 4, 5));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	DropAt(Hole(12, 0), PEG_WHITE);

	// A fixed seed keeps the draws the same from run to run; 400 games
	// leave a colour out of a hole with a chance of about 1 in 10^19.
	std::set<int32> seen[kBoardHoleCount];
	std::string		broken;
	srand(20261206);
	Locked([&] {
		view->cpuActive = true;
		for (int32 game = 0; game < 400 && broken.empty(); game++) {
			view->Ini();
			broken = BoardState::Of(view).Broken();
			for (int32 h = 0; h < kBoardHoleCount; h++)
				seen[h].insert(view->secret.colors[h]);
		}
		// Only the callers of Ini change the player's flag.
		EXPECT_TRUE(view->cpuActive);
		view->cpuActive = false;
	});
	EXPECT_EQ(broken, "");
	for (int32 h = 0; h < kBoardHoleCount; h++)
		EXPECT_EQ(seen[h].size(), (size_t)kPegColorCount) << "hole " << h;

	// The invariants leave only the current row's pegs to look at.
	EXPECT_EQ(State().CountPegs(kBoardFirstRow), 0);
	EXPECT_TRUE(State().gameActive);
}


TEST_F(KXViewTest, DropLandsInTheHoleUnderThePointerAndUpdatesTheWindow)
{
	struct Case {
		int32  row; // the current row; -1 once the top row has failed
		BPoint where;
		int32  hole; // -1 for a miss
	};
	// Conversions and divisions truncate toward zero, so the first hole and
	// the top row reach a little beyond their edges. Just above the board
	// the row works out as -1.
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
		{ -1, BPoint(40, -15), -1 },
		{ -1, BPoint(40, -30), -1 },
	};

	for (const Case& test : cases) {
		SCOPED_TRACE(testing::Message()
			<< "row " << test.row << " at (" << test.where.x << ", "
			<< test.where.y << ")");
		NewGame(Sequence(8, 8, 8, 8, 8));
		harness.MoveTo(window, InWindow(test.where));
		ASSERT_TRUE(harness.display.WaitForInput());
		Locked([&] { view->currentRow = test.row; });
		BoardState before = State();

		// Hit or miss, the window is up to date when the drop returns.
		int32	   presents = 0;
		Locked([&] {
			view->Invalidate();
			presents = harness.display.CountPresents(window);
			view->Drop(PEG_GREEN);
			presents = harness.display.CountPresents(window) - presents;
		});
		EXPECT_GT(presents, 0);
		BoardState after = State();
		// A peg beyond the row would land in the secret's pegs.
		if (test.row == kBoardFirstRow) {
			EXPECT_EQ(Broken(), "");
		}
		if (test.hole < 0) {
			EXPECT_TRUE(after == before);
			continue;
		}
		EXPECT_EQ(after.colors[test.row][test.hole], PEG_GREEN);
		EXPECT_EQ(after.CountPegs(test.row), 1);
	}
}


TEST_F(KXViewTest, GiveUpKeepsTheBoardAndFailingTheTopRowEndsTheGame)
{
	NewGame(Sequence(8, 8, 8, 8, 8));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	DropAt(Hole(12, 1), PEG_GREY);
	BoardState playing = State();

	window->PostMessage(MSG_GIVE_UP);
	ASSERT_TRUE(Settle());
	BoardState over = State();
	EXPECT_FALSE(over.gameActive);
	over.gameActive = true;
	EXPECT_TRUE(over == playing);

	// Quit with no player about changes nothing; drops do not look at
	// gameActive.
	Locked([&] { view->Quit(); });
	DropAt(Hole(12, 2), PEG_GREY);
	EXPECT_EQ(State().colors[12][2], PEG_GREY);

	NewGame(Sequence(8, 8, 8, 8, 8));
	for (int32 row = kBoardFirstRow; row >= 0; row--)
		PlayRow(Sequence(0, 1, 2, 3, 4));
	over = State();
	EXPECT_EQ(over.currentRow, -1);
	EXPECT_FALSE(over.gameActive);
	EXPECT_EQ(Broken(), "");
	DropAt(Hole(0, 2), PEG_WHITE);
	EXPECT_TRUE(State() == over);
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
	thread_id player = -1;
	Locked([&] { player = view->cpuThread; });
	EXPECT_GE(player, 0);

	harness.MoveTo(window, InWindow(Hole(13, 3)));
	ASSERT_TRUE(harness.display.WaitForInput());
	window->PostMessage(MSG_DROP);
	window->PostMessage(MSG_GIVE_UP);
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(Settle());
	EXPECT_TRUE(State() == playing);
	EXPECT_EQ(view->cpuThread, player);
	EXPECT_EQ(clock.CountSleeps(), 1);
}


// A player that has just ended its game has cleared cpuActive, but its
// thread is still on its way out; the window may be deleted as soon as Quit
// returns.
TEST_F(KXViewTest, QuitWaitsUnlockedForAThreadThatClearedTheFlagAlready)
{
	struct Ending {
		std::atomic<bool> release { false };
		std::atomic<bool> quitReturned { false };
		bool			  quitReturnedFirst = false;
	} ending;
	// Without the release in time the thread ends anyway, and the test
	// finds quitReturnedFirst false.
	thread_func finish = [](void* data) -> int32 {
		Ending* ending = (Ending*)data;
		if (kxtest::PollUntil([ending] { return ending->release.load(); }))
			ending->quitReturnedFirst = ending->quitReturned;
		return 0;
	};
	thread_id thread =
		spawn_thread(finish, "CPU Player", B_NORMAL_PRIORITY, &ending);
	resume_thread(thread);
	Locked([&] { view->cpuThread = thread; });

	std::atomic<bool> locked(false);
	std::thread		  quitter([&] {
		  window->Lock();
		  locked = true;
		  view->Quit();
		  // Still holding the lock, so that the window comes free before
		  // this only if Quit lets go of it to wait.
		  ending.quitReturned = true;
		  window->Unlock();
	  });
	EXPECT_TRUE(kxtest::PollUntil([&] {
		return locked && window->LockingThread() < 0;
	})) << "Quit kept the window locked while it waited";
	ending.release = true;
	quitter.join();
	wait_for_thread(thread, NULL);
	EXPECT_FALSE(ending.quitReturnedFirst);
}


// The pictures are decoded once per start: the view takes over what the
// start-up check decoded instead of reading the files again.
TEST(ViewImages, TheViewTakesThePicturesTheStartUpCheckDecoded)
{
	fs::path source = fs::current_path();
	fs::path folder =
		fs::temp_directory_path() / ("kx-images-" + std::to_string(getpid()));
	fs::create_directories(folder);
	fs::copy(source / "bmp", folder / "bmp");
	ASSERT_EQ(chdir(folder.c_str()), 0);

	EXPECT_EQ(KXView::MissingImage(), nullptr);
	// Read again, the files would now give nothing.
	fs::remove_all(folder / "bmp");
	KXView* view = new KXView();
	EXPECT_NE(view->boardBitmap, nullptr);
	for (int32 i = 0; i < kPegColorCount; i++)
		EXPECT_NE(view->pegBitmaps[i], nullptr) << "peg " << i;
	// The next view reads the files itself: nothing is handed over twice.
	KXView* second = new KXView();
	EXPECT_EQ(second->boardBitmap, nullptr);

	delete second;
	delete view;
	ASSERT_EQ(chdir(source.c_str()), 0);
	fs::remove_all(folder);
}

} // namespace
