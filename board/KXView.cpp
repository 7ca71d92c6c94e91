#include "KXView.h"

#include <Bitmap.h>
#include <InterfaceDefs.h>
#include <Window.h>

#include <cstdlib>

#include "BoardLayout.h"
#include "CPUPlayer.h"


KXView::KXView() :
	BView(kBoardFrame, "Board", 0, B_WILL_DRAW),
	currentRow(kBoardFirstRow),
	exactCount(0),
	colorCount(0),
	cpuActive(false),
	gameActive(false),
	cpuThread(-1),
	fCursorHole(0),
	fCursorShown(false),
	fQuitting(false)
{
	srand((unsigned int)(system_time() & 0xffffffff));
	_InitRendering();
	// Not in a window yet: the first drawing comes when the window shows.
	Ini();
}


KXView::~KXView()
{
	// The offscreen view goes with the bitmap it is attached to.
	delete offscreenBitmap;
	delete boardBitmap;
	for (int32 i = 0; i < kPegColorCount; i++)
		delete pegBitmaps[i];
}


void
KXView::Ini()
{
	gameActive = true;
	currentRow = kBoardFirstRow;
	fCursorHole = 0;

	for (int32 row = 0; row < kBoardRowCount; row++) {
		for (int32 hole = 0; hole < kBoardHoleCount; hole++) {
			pegs[row][hole].bitmap = NULL;
			pegs[row][hole].colorIndex = PEG_NONE;
			hints[row][hole] = HINT_NONE;
		}
	}

	int colors[kBoardHoleCount];
	for (int32 hole = 0; hole < kBoardHoleCount; hole++) {
		colors[hole] = rand() % kPegColorCount;
		secretPegs[hole].bitmap = pegBitmaps[colors[hole]];
		secretPegs[hole].colorIndex = colors[hole];
	}
	secret.Set(colors[0], colors[1], colors[2], colors[3], colors[4]);

	Invalidate();
}


void
KXView::Drop(int colorIndex)
{
	if (cpuActive)
		return;

	// The peg goes where the pointer is now; the drop point of the message
	// is not looked at.
	BPoint where;
	uint32 buttons;
	GetMouse(&where, &buttons, true);

	// A little left of the first hole still counts as hole 0 and a little
	// above the top row as row 0.
	int32 row;
	int32 hole;
	HoleAt(where, &row, &hole);

	_PlacePeg(row, hole, colorIndex);
}


void
KXView::_PlacePeg(int32 row, int32 hole, int colorIndex)
{
	// Once the last row has failed currentRow is -1, which a point above
	// the board would otherwise match.
	if (row != currentRow || currentRow < 0 || hole < 0
		|| hole >= kBoardHoleCount || colorIndex < 0
		|| colorIndex >= kPegColorCount) {
		Window()->UpdateIfNeeded();
		return;
	}

	pegs[row][hole].bitmap = pegBitmaps[colorIndex];
	pegs[row][hole].colorIndex = colorIndex;

	bool full = true;
	for (int32 i = 0; i < kBoardHoleCount; i++) {
		if (pegs[currentRow][i].colorIndex == PEG_NONE)
			full = false;
	}

	if (full) {
		// A new row begins, or the game ends.
		fCursorHole = 0;
		if (CheckSequence())
			Win();
		else {
			currentRow--;
			if (currentRow < 0)
				GiveUp();
		}
	}

	Invalidate();
	Window()->UpdateIfNeeded();
}


bool
KXView::CheckSequence()
{
	const PegSlot* row = pegs[currentRow];
	Sequence guess(row[0].colorIndex, row[1].colorIndex, row[2].colorIndex,
		row[3].colorIndex, row[4].colorIndex);

	int		 exact;
	int		 color;
	secret.Check(guess, exact, color);
	exactCount = exact;
	colorCount = color;

	int32 place = 0;
	for (int32 i = 0; i < exact; i++)
		hints[currentRow][place++] = HINT_EXACT;
	for (int32 i = 0; i < color; i++)
		hints[currentRow][place++] = HINT_COLOR;
	while (place < kBoardHoleCount)
		hints[currentRow][place++] = HINT_NONE;

	return exactCount == kBoardHoleCount;
}


void
KXView::Win()
{
	gameActive = false;
	Invalidate();
}


void
KXView::GiveUp()
{
	if (cpuActive)
		return;

	gameActive = false;
	Invalidate();
}


void
KXView::Restart()
{
	cpuActive = false;
	gameActive = false;
	_WaitForPlayer();
	Ini();
}


void
KXView::ToggleCPU()
{
	if (cpuActive || fQuitting)
		return;

	// A player that has just ended its game may still be on its way out;
	// two players on one board would both fill and lower the current row.
	_WaitForPlayer();
	// The window was unlocked for the wait: the quit may have begun.
	if (fQuitting)
		return;

	Ini();
	cpuActive = true;
	cpuThread = spawn_thread(CPUPlayer, "CPU Player", B_NORMAL_PRIORITY, this);
	resume_thread(cpuThread);
}


void
KXView::Quit()
{
	// Waits even when the flag is already down: a player that has just
	// ended its game clears the flag a moment before its thread is gone,
	// and the view may be deleted right after this returns. A "CPU Play"
	// handled while this waits with the window unlocked starts no player.
	fQuitting = true;
	cpuActive = false;
	_WaitForPlayer();
}


void
KXView::_WaitForPlayer()
{
	// The player takes the window's lock for every peg and to score its
	// row, and finishes a row once begun: the window has to be unlocked
	// while this thread waits, however often the thread holds it.
	BWindow* window = Window();
	int32	 locks = 0;
	if (window != NULL && window->IsLocked())
		locks = window->CountLocks();

	for (int32 i = 0; i < locks; i++)
		window->Unlock();

	status_t exitValue;
	wait_for_thread(cpuThread, &exitValue);

	for (int32 i = 0; i < locks; i++)
		window->Lock();
}
