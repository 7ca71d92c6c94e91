#include "CPUPlayer.h"

#include <OS.h>
#include <Window.h>

#include <list>

#include "KXView.h"
#include "Strategy.h"


namespace {

// A watcher follows the game peg by peg.
const bigtime_t kPegPause = 500000;


// Shows what changed on the board at once, from the player's thread.
void
ShowBoard(KXView* view)
{
	view->Invalidate();
	view->Window()->UpdateIfNeeded();
	view->Window()->Sync();
}


// After this the player touches nothing of the view any more: whoever
// stopped it may start a new game or delete the view.
void
EndGame(KXView* view)
{
	view->gameActive = false;
	view->cpuActive = false;
}

} // namespace


int32
CPUPlayer(void* data)
{
	KXView*				view = (KXView*)data;
	bool				firstMove = true;
	bool				enumerate = false;
	std::list<Sequence> candidates;
	Sequence			guess = FirstGuess();
	// The last score, copied while the view is still the player's.
	int					exact = 0;
	int					color = 0;

	while (view->cpuActive) {
		if (firstMove) {
			firstMove = false;
			enumerate = true;
			bool over = DropSequence(guess, view);
			exact = view->exactCount;
			color = view->colorCount;
			// Back to the loop's test of cpuActive would be too late: a
			// "CPU Play" handled once the flag is down sets it again for a
			// new player, and this one would play on beside it.
			if (over) {
				EndGame(view);
				break;
			}
		} else if (enumerate) {
			// A pass of its own, so that a stop request or a first-guess
			// win spares the walk over every code.
			BuildCandidates(guess, exact, color, candidates);
			enumerate = false;
		} else {
			// The secret is always among the candidates unless it changed
			// under the player; never guess from an empty list.
			if (candidates.empty()) {
				EndGame(view);
				break;
			}
			guess = candidates.front();
			bool over = DropSequence(guess, view);
			exact = view->exactCount;
			color = view->colorCount;
			if (over) {
				EndGame(view);
				break;
			}
			FilterCandidates(candidates, guess, exact, color);
		}
	}

	candidates.clear();
	return 0;
}


bool
DropSequence(Sequence& seq, KXView* view)
{
	// The board lives in the main window for good; its lock guards the board.
	BWindow* window = view->Window();

	for (int32 i = 0; i < kBoardHoleCount; i++) {
		window->Lock();
		// A board without a row left has nowhere to take the guess.
		if (view->currentRow < 0) {
			window->Unlock();
			return true;
		}
		int32 color = seq.colors[i];
		view->pegs[view->currentRow][i].bitmap = view->pegBitmaps[color];
		view->pegs[view->currentRow][i].colorIndex = color;
		ShowBoard(view);
		window->Unlock();
		snooze(kPegPause);
	}

	window->Lock();
	if (view->currentRow < 0) {
		window->Unlock();
		return true;
	}
	bool won = view->CheckSequence();
	ShowBoard(view);
	if (!won)
		view->currentRow--;
	bool over = won || view->currentRow < 0;
	window->Unlock();

	return over;
}
