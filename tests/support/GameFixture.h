#ifndef KX_TEST_GAME_FIXTURE_H
#define KX_TEST_GAME_FIXTURE_H

// The application and its main window on the headless display, with time on
// a manual clock, so that a test can point at the board and step the
// computer player from pause to pause.

#include <Menu.h>
#include <MenuBar.h>
#include <OS.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "BoardLayout.h"
#include "BoardState.h"
#include "Desktop.h"
#include "HeadlessApp.h"
#include "KXView.h"
#include "KXWindow.h"
#include "Kalvex.h"
#include "LaunchHook.h"
#include "MessageCodes.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace kxtest {

const bigtime_t kPegPause = 500000;


inline BPoint
Middle(BRect rect)
{
	return BPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}


class GameTest : public ::testing::Test {
protected:
	// Programs the About box would start are recorded, never started.
	void
	SetUp() override
	{
		BPrivate::SetClock(&clock);
		BPrivate::SetLaunchHook([this](const std::vector<std::string>& argv) {
			launches.push_back(argv);
			return B_OK;
		});
		app = new Kalvex();
		harness.Start();
		window = app->mainWindow;
		view = window->boardView;
		ASSERT_TRUE(Settle());
	}

	void
	TearDown() override
	{
		// A player paused on the clock has to finish its row to stop.
		clock.SetAutomatic(true);
		EXPECT_TRUE(harness.Quit());
		delete app;
		BPrivate::SetLaunchHook(nullptr);
#if defined(__SANITIZE_ADDRESS__)
		// Whatever the test played, the game lost nothing it allocated.
		EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
	}

	static BPoint
	Hole(int32 row, int32 hole)
	{
		return Middle(HoleRect(row, hole));
	}

	// A point of the board view in its window's coordinates.
	static BPoint
	InWindow(BPoint board)
	{
		return board + kBoardFrame.LeftTop();
	}

	bool
	Settle(BLooper* looper = nullptr)
	{
		return HeadlessApp::Settle(looper != nullptr ? looper : window);
	}

	// Runs inside under the main window's lock.
	void
	Locked(const std::function<void()>& inside)
	{
		window->Lock();
		inside();
		window->Unlock();
	}

	// The first promise of the board that is broken, or "".
	std::string
	Broken()
	{
		return State().Broken();
	}

	// Puts the pointer on a point of the board view and drops a peg there
	// as the window would.
	void
	DropAt(BPoint where, int color)
	{
		harness.MoveTo(window, InWindow(where));
		ASSERT_TRUE(harness.display.WaitForInput());
		Locked([&] { view->Drop(color); });
	}

	void
	PlayRow(const Sequence& guess)
	{
		int32 row = State().currentRow;
		for (int32 h = 0; h < kBoardHoleCount; h++)
			DropAt(Hole(row, h), guess.colors[h]);
	}

	void
	SetSecret(const Sequence& code)
	{
		Locked([&] {
			view->secret = code;
			for (int32 h = 0; h < kBoardHoleCount; h++) {
				view->secretPegs[h].bitmap = view->pegBitmaps[code.colors[h]];
				view->secretPegs[h].colorIndex = code.colors[h];
			}
		});
	}

	BoardState
	State()
	{
		BoardState state;
		Locked([&] { state = BoardState::Of(view); });
		return state;
	}

	// Moves the clock on whenever someone sleeps on it until the looper has
	// handled all that was posted to it: a stop request waits for the
	// player, and the player for its pauses.
	bool
	SettleRunningClock(BLooper* looper)
	{
		harness.watchdog.Beat("running the clock");
		return PollUntil([&] {
			if (BPrivate::TestAccess::IsIdle(looper))
				return true;
			clock.AdvanceToNextWakeup();
			return false;
		});
	}

	// Presses at a window point and releases at another. The view waits for
	// the gesture, asleep on the clock between readings of the pointer, only
	// on the palette during the user's own game; a move of the pointer then
	// starts a drag whose message goes where the pointer is released.
	void
	Gesture(BPoint from, BPoint to, bool move = true)
	{
		BoardState state = State();
		bool	   waits = state.gameActive && !state.cpuActive
			&& kPaletteFrame.Contains(from - kBoardFrame.LeftTop());
		int64 sleeps = clock.CountSleeps();
		harness.MoveTo(window, from);
		harness.display.Press();
		ASSERT_TRUE(harness.display.WaitForInput());
		// Either the view sleeps or the press is handled; nothing else sleeps
		// on the clock while the user plays.
		PollUntil([&] {
			return clock.CountSleeps() != sleeps
				|| BPrivate::TestAccess::IsIdle(window);
		});
		if (!state.cpuActive) {
			EXPECT_EQ(clock.CountSleeps() > sleeps, waits)
				<< "whether the press waited for a gesture";
			waits = clock.CountSleeps() > sleeps;
		}
		if (waits && move) {
			harness.MoveTo(window, from + BPoint(1, 0));
			ASSERT_TRUE(harness.display.WaitForInput());
			ASSERT_TRUE(clock.AdvanceToNextWakeup());
			ASSERT_TRUE(Settle());
			ASSERT_TRUE(BPrivate::Desktop::Default()->IsDragging());
			EXPECT_TRUE(harness.display.DragImageShown());
		}
		harness.MoveTo(window, to);
		harness.display.Release();
		ASSERT_TRUE(harness.display.WaitForInput());
		if (waits && !move) {
			ASSERT_TRUE(clock.AdvanceToNextWakeup());
		}
		ASSERT_TRUE(Settle());
		EXPECT_FALSE(BPrivate::Desktop::Default()->IsDragging());
	}

	// The user's game on an empty row, with no player left running.
	void
	ExpectUsersGame(int32 row)
	{
		BoardState state = State();
		EXPECT_FALSE(state.cpuActive);
		EXPECT_TRUE(state.gameActive);
		EXPECT_EQ(state.currentRow, row);
		EXPECT_EQ(state.CountPegs(row), 0);
		EXPECT_LT(find_thread("CPU Player"), 0);
		EXPECT_EQ(Broken(), "");
	}

	// Opens the menu with a click on its name and clicks item number index,
	// then waits until the window has handled it.
	void
	Choose(int32 index)
	{
		ASSERT_TRUE(harness.Click(window, BPoint(10, 8)));
		ASSERT_EQ(window->LockWithTimeout(10000000), B_OK);
		bool  open = BPrivate::TestAccess::OpenMenu(window->menuBar) != nullptr;
		BRect item = window->gameMenu->ConvertToWindow(
			window->gameMenu->_ItemFrame(index));
		window->Unlock();
		ASSERT_TRUE(open) << "the menu did not open";
		harness.MoveTo(window, Middle(item));
		harness.display.Press();
		harness.display.Release();
		ASSERT_TRUE(harness.display.WaitForInput());
		ASSERT_TRUE(SettleRunningClock(window));
	}

	// Moves the clock on, one wake-up at a time, until the player sleeps in
	// its pause number count of the test; false if it never gets there.
	bool
	RunToPause(int64 count)
	{
		harness.watchdog.Beat("running to a pause of the player");
		bool passed = false;
		bool reached = PollUntil([&] {
			// Sleepers first: a sleep that starts between the two reads
			// must not be taken for one already counted and moved past.
			bool  sleeping = clock.CountSleepers() > 0;
			int64 sleeps = clock.CountSleeps();
			passed = sleeps > count;
			if (passed || (sleeps == count && sleeping))
				return true;
			if (sleeping)
				clock.AdvanceToNextWakeup();
			return false;
		});
		return reached && !passed;
	}

	// Starts the player through the menu command and hands it this secret
	// while it pauses after its first peg: the opening guess is fixed and
	// nothing reads the secret before the row is scored.
	void
	StartPlayer(const Sequence& code)
	{
		int64 before = clock.CountSleeps();
		window->PostMessage(MSG_CPU_PLAY);
		ASSERT_TRUE(RunToPause(before + 1));
		SetSecret(code);
	}

	// Lets the player go on without pauses and waits for its end.
	void
	FinishPlayer()
	{
		harness.watchdog.Beat("waiting for the player's end");
		clock.SetAutomatic(true);
		thread_id player = -1;
		Locked([&] { player = view->cpuThread; });
		wait_for_thread(player, NULL);
	}

	HeadlessApp							  harness;
	BPrivate::ManualClock				  clock;
	Kalvex*								  app = nullptr;
	KXWindow*							  window = nullptr;
	KXView*								  view = nullptr;
	std::vector<std::vector<std::string>> launches;
};

} // namespace kxtest

#endif // KX_TEST_GAME_FIXTURE_H
