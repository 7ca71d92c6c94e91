#ifndef KX_TEST_GAME_FIXTURE_H
#define KX_TEST_GAME_FIXTURE_H

// The application with its main window on the headless display, time on a
// manual clock, so that a test can point at the board, play, and step the
// computer player from pause to pause.

#include <OS.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "HeadlessApp.h"
#include "KXView.h"
#include "KXWindow.h"
#include "Kalvex.h"
#include "MessageCodes.h"

namespace kxtest {

// The board view sits 20 pixels down in the main window.
const BPoint kBoardOffset(0, 20);
const bigtime_t kPegPause = 500000;


// A copy of everything the rules change, for comparing before and after.
struct BoardState {
	int32 hints[kBoardRowCount][kBoardHoleCount];
	int32 colors[kBoardRowCount][kBoardHoleCount];
	int32 currentRow;
	bool gameActive;
	bool cpuActive;
	Sequence secret;

	bool operator==(const BoardState& other) const
	{
		for (int32 r = 0; r < kBoardRowCount; r++) {
			for (int32 h = 0; h < kBoardHoleCount; h++) {
				if (hints[r][h] != other.hints[r][h]
					|| colors[r][h] != other.colors[r][h])
					return false;
			}
		}
		return currentRow == other.currentRow
			&& gameActive == other.gameActive
			&& cpuActive == other.cpuActive && secret == other.secret;
	}
};


class GameTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		BPrivate::SetClock(&clock);
		app = new Kalvex();
		harness.Start();
		window = app->mainWindow;
		view = window->boardView;
	}

	void TearDown() override
	{
		// A player paused on the clock has to finish its row to stop.
		clock.SetAutomatic(true);
		EXPECT_TRUE(harness.Quit());
		delete app;
	}

	// Moves the pointer onto a point of the board view and waits until the
	// application has taken it in.
	void PointAt(BPoint where)
	{
		harness.MoveTo(window, where + kBoardOffset);
		ASSERT_TRUE(harness.display.WaitForInput());
	}

	void DropAt(BPoint where, int color)
	{
		PointAt(where);
		window->Lock();
		view->Drop(color);
		window->Unlock();
	}

	// The middle of a hole of a row.
	static BPoint Hole(int32 row, int32 hole)
	{
		return BPoint(16 + 16 * hole, 9 + 16 * row);
	}

	// Drops the guess, hole by hole, into the current row.
	void PlayRow(const Sequence& guess)
	{
		int32 row = Locked<int32>([&] { return view->currentRow; });
		for (int32 h = 0; h < kBoardHoleCount; h++)
			DropAt(Hole(row, h), guess.colors[h]);
	}

	void SetSecret(const Sequence& code)
	{
		window->Lock();
		view->secret = code;
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			view->secretPegs[h].bitmap = view->pegBitmaps[code.colors[h]];
			view->secretPegs[h].colorIndex = code.colors[h];
		}
		window->Unlock();
	}

	template<typename T>
	T Locked(std::function<T()> read)
	{
		window->Lock();
		T value = read();
		window->Unlock();
		return value;
	}

	BoardState State()
	{
		BoardState state;
		window->Lock();
		for (int32 r = 0; r < kBoardRowCount; r++) {
			for (int32 h = 0; h < kBoardHoleCount; h++) {
				state.hints[r][h] = view->hints[r][h];
				state.colors[r][h] = view->pegs[r][h].colorIndex;
			}
		}
		state.currentRow = view->currentRow;
		state.gameActive = view->gameActive;
		state.cpuActive = view->cpuActive;
		state.secret = view->secret;
		window->Unlock();
		return state;
	}

	Sequence Row(int32 row)
	{
		BoardState state = State();
		const int32* c = state.colors[row];
		return Sequence(c[0], c[1], c[2], c[3], c[4]);
	}

	thread_id PlayerThread()
	{
		return Locked<thread_id>([&] { return view->cpuThread; });
	}

	// Lets the clock run, one wake-up at a time, until the player sleeps in
	// its pause number count (counted from the start of the test). False
	// if it went past that pause or never got there.
	bool RunToPause(int64 count)
	{
		auto deadline = std::chrono::steady_clock::now() + kWatchdog;
		while (std::chrono::steady_clock::now() < deadline) {
			int64 sleeps = clock.CountSleeps();
			bool sleeping = clock.CountSleepers() > 0;
			if (sleeps > count)
				return false;
			if (sleeps == count && sleeping)
				return true;
			if (sleeping)
				clock.AdvanceToNextWakeup();
			std::this_thread::yield();
		}
		return false;
	}

	// Starts the computer player through the menu command and gives it
	// this secret while it pauses after its first peg: the first guess is
	// fixed and nothing reads the secret before the row is scored.
	void StartPlayer(const Sequence& code)
	{
		int64 before = clock.CountSleeps();
		window->PostMessage(MSG_CPU_PLAY);
		ASSERT_TRUE(RunToPause(before + 1));
		SetSecret(code);
	}

	// Lets the player play on without pauses and waits for its end.
	void FinishPlayer()
	{
		clock.SetAutomatic(true);
		wait_for_thread(PlayerThread(), NULL);
	}

	HeadlessApp harness;
	BPrivate::ManualClock clock;
	Kalvex* app = nullptr;
	KXWindow* window = nullptr;
	KXView* view = nullptr;
};


// Runs a call on a thread of its own, for calls that block until the test
// has moved the clock on.
class Background {
public:
	explicit Background(std::function<void()> work)
		:
		fDone(false),
		fThread([this, work] { work(); fDone = true; })
	{
	}

	~Background()
	{
		fThread.join();
	}

	bool Done() const { return fDone; }

private:
	std::atomic<bool> fDone;
	std::thread fThread;
};

} // namespace kxtest

#endif // KX_TEST_GAME_FIXTURE_H
