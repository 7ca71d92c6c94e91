#include "KXView.h"

#include <InterfaceDefs.h>
#include <Window.h>

#include "BoardLayout.h"


namespace {

// The cursor outlines the hole it stands on, in a colour that neither the
// wood of the board nor any peg has.
const rgb_color kCursorColor = { 255, 230, 0, 255 };

} // namespace


void
KXView::KeyDown(const char* bytes, int32 numBytes)
{
	char key = numBytes == 1 ? bytes[0] : 0;
	bool peg = key >= '1' && key <= '9';
	if (key != B_LEFT_ARROW && key != B_RIGHT_ARROW && !peg) {
		BView::KeyDown(bytes, numBytes);
		return;
	}

	// The keys play the user's game only: not the computer's, and not
	// one that is over.
	if (cpuActive || !gameActive || currentRow < 0)
		return;

	fCursorShown = true;
	if (key == B_LEFT_ARROW) {
		if (fCursorHole > 0)
			fCursorHole--;
	} else if (key == B_RIGHT_ARROW) {
		if (fCursorHole < kBoardHoleCount - 1)
			fCursorHole++;
	} else {
		// The same rules as a peg dropped with the mouse; a full row
		// starts the cursor again on hole 0 of the next one.
		int32 row = currentRow;
		_PlacePeg(row, fCursorHole, key - '1');
		if (gameActive && currentRow == row)
			fCursorHole = _NextEmptyHole(fCursorHole);
	}

	Invalidate();
	Window()->UpdateIfNeeded();
}


int32
KXView::_NextEmptyHole(int32 hole) const
{
	for (int32 step = 1; step < kBoardHoleCount; step++) {
		int32 next = (hole + step) % kBoardHoleCount;
		if (pegs[currentRow][next].colorIndex == PEG_NONE)
			return next;
	}
	return hole;
}


void
KXView::_DrawKeyCursor(BView* target)
{
	if (!fCursorShown || cpuActive || !gameActive || currentRow < 0)
		return;

	target->SetHighColor(kCursorColor);
	target->StrokeRect(HoleRect(currentRow, fCursorHole));
}
