#ifndef KX_TEST_BOARD_INVARIANTS_H
#define KX_TEST_BOARD_INVARIANTS_H

// The promises the board keeps between any two of its rule steps, checked
// from outside. Call with the main window locked: every writer of the board
// (the window's thread and the computer player) holds that lock.

#include <string>

#include "KXView.h"

namespace kxtest {

class BoardInvariants {
public:
	// The first broken promise, or an empty string.
	std::string
	Broken(const KXView* view)
	{
		int32 current = view->currentRow;
		if (current < -1 || current > kBoardFirstRow)
			return "currentRow " + std::to_string(current)
				+ " is off the board";
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			const PegSlot& slot = view->secretPegs[h];
			if (slot.colorIndex != view->secret.colors[h]
				|| slot.colorIndex == PEG_NONE || !_Good(view, slot))
				return "secret peg " + std::to_string(h)
					+ " is not the secret's";
		}
		for (int32 r = 0; r < kBoardRowCount; r++) {
			std::string row = "row " + std::to_string(r);
			for (int32 h = 0; h < kBoardHoleCount; h++) {
				if (!_Good(view, view->pegs[r][h]))
					return row + " has a hole with the wrong image";
			}
			int32 count = _CountPegs(view, r);
			if (r > current && (count != kBoardHoleCount || !_Scored(view, r)))
				return row + " below the current row is not full and scored";
			if (r < current && (count != 0 || _Marked(view, r)))
				return row + " above the current row is not empty";
			if (r == current && _Marked(view, r) && !_Won(view, r))
				return row + ", the current row, carries marks but was not won";
		}
		// The player clears gameActive before cpuActive when its game ends,
		// so with the player gone a finished board never shows a game on.
		bool over = current < 0 || _Won(view, current);
		if (over && !view->cpuActive && view->gameActive)
			return "the game is over but still active";
		return std::string();
	}

private:
	static bool
	_Good(const KXView* view, const PegSlot& slot)
	{
		if (slot.colorIndex == PEG_NONE)
			return slot.bitmap == nullptr;
		return slot.colorIndex >= 0 && slot.colorIndex < kPegColorCount
			&& slot.bitmap == view->pegBitmaps[slot.colorIndex];
	}

	static int32
	_CountPegs(const KXView* view, int32 row)
	{
		int32 count = 0;
		for (int32 h = 0; h < kBoardHoleCount; h++)
			count += view->pegs[row][h].colorIndex != PEG_NONE;
		return count;
	}

	static bool
	_Marked(const KXView* view, int32 row)
	{
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			if (view->hints[row][h] != HINT_NONE)
				return true;
		}
		return false;
	}

	// The row's marks are its score against the secret: exact ones first,
	// then colour ones.
	static bool
	_Scored(const KXView* view, int32 row)
	{
		const PegSlot* s = view->pegs[row];
		int			   exact;
		int			   color;
		view->secret.Check(
			Sequence(s[0].colorIndex, s[1].colorIndex, s[2].colorIndex,
				s[3].colorIndex, s[4].colorIndex),
			exact, color);
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			int32 mark = h < exact	? HINT_EXACT
				: h < exact + color ? HINT_COLOR
									: HINT_NONE;
			if (view->hints[row][h] != mark)
				return false;
		}
		return true;
	}

	static bool
	_Won(const KXView* view, int32 row)
	{
		return _CountPegs(view, row) == kBoardHoleCount && _Scored(view, row)
			&& view->hints[row][kBoardHoleCount - 1] == HINT_EXACT;
	}
};

} // namespace kxtest

#endif
