#ifndef KX_TEST_BOARD_INVARIANTS_H
#define KX_TEST_BOARD_INVARIANTS_H

// The promises the board keeps between any two of its rule steps, checked
// from outside. Call with the main window locked: every writer of the board
// (the window's thread and the computer player) holds that lock.

#include <sstream>
#include <string>

#include "KXView.h"

namespace kxtest {

// The marks a row of this guess has to carry: exact first, then colour.
inline void
ExpectedMarks(
	const Sequence& secret, const Sequence& guess, int32 marks[kBoardHoleCount])
{
	int exact;
	int color;
	secret.Check(guess, exact, color);
	int32 place = 0;
	for (int i = 0; i < exact; i++)
		marks[place++] = HINT_EXACT;
	for (int i = 0; i < color; i++)
		marks[place++] = HINT_COLOR;
	while (place < kBoardHoleCount)
		marks[place++] = HINT_NONE;
}


class BoardInvariants {
public:
	// The first broken promise, or an empty string. Counts each promise
	// looked at in fChecked.
	std::string
	Broken(const KXView* view)
	{
		std::ostringstream fault;
		int32			   current = view->currentRow;
		fChecked++;
		if (current < -1 || current > kBoardFirstRow) {
			fault << "currentRow " << current << " is off the board";
			return fault.str();
		}

		for (int32 h = 0; h < kBoardHoleCount; h++) {
			fChecked++;
			const PegSlot& slot = view->secretPegs[h];
			if (slot.colorIndex != view->secret.colors[h] || slot.colorIndex < 0
				|| slot.colorIndex >= kPegColorCount
				|| slot.bitmap != view->pegBitmaps[slot.colorIndex]) {
				fault << "secret peg " << h << " does not match the secret";
				return fault.str();
			}
		}

		for (int32 r = 0; r < kBoardRowCount; r++) {
			std::string slots = _BrokenSlots(view, r);
			if (!slots.empty())
				return slots;
			fChecked++;
			int32 count = _CountPegs(view, r);
			bool  marked = _Marked(view, r);
			if (r > current) {
				if (count != kBoardHoleCount) {
					fault << "row " << r << " below the current row " << current
						  << " holds " << count << " pegs";
					return fault.str();
				}
				if (!_MarksAgree(view, r)) {
					fault << "row " << r << " is not scored against the secret";
					return fault.str();
				}
			} else if (r < current) {
				if (count != 0 || marked) {
					fault << "row " << r << " above the current row " << current
						  << " is not empty";
					return fault.str();
				}
			} else if (marked && !_Won(view, r)) {
				fault << "the current row " << r
					  << " carries marks but was not won";
				return fault.str();
			}
		}

		// The player clears gameActive before cpuActive when its game ends,
		// so with the player gone a finished board never shows a game on.
		fChecked++;
		bool over = current < 0 || _Won(view, current);
		if (over && !view->cpuActive && view->gameActive) {
			fault << "the game is over on row " << current
				  << " but still active";
			return fault.str();
		}
		return std::string();
	}

	int64 fChecked = 0;

private:
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

	static Sequence
	_Row(const KXView* view, int32 row)
	{
		const PegSlot* s = view->pegs[row];
		return Sequence(s[0].colorIndex, s[1].colorIndex, s[2].colorIndex,
			s[3].colorIndex, s[4].colorIndex);
	}

	static bool
	_MarksAgree(const KXView* view, int32 row)
	{
		int32 marks[kBoardHoleCount];
		ExpectedMarks(view->secret, _Row(view, row), marks);
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			if (view->hints[row][h] != marks[h])
				return false;
		}
		return true;
	}

	static bool
	_Won(const KXView* view, int32 row)
	{
		return _CountPegs(view, row) == kBoardHoleCount
			&& _MarksAgree(view, row)
			&& view->hints[row][kBoardHoleCount - 1] == HINT_EXACT;
	}

	std::string
	_BrokenSlots(const KXView* view, int32 row)
	{
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			fChecked++;
			const PegSlot& slot = view->pegs[row][h];
			bool		   good = slot.colorIndex == PEG_NONE
						  ? slot.bitmap == nullptr
						  : slot.colorIndex >= 0 && slot.colorIndex < kPegColorCount
					  && slot.bitmap == view->pegBitmaps[slot.colorIndex];
			if (!good) {
				std::ostringstream fault;
				fault << "hole " << h << " of row " << row << " holds colour "
					  << slot.colorIndex << " with the wrong image";
				return fault.str();
			}
		}
		return std::string();
	}
};

} // namespace kxtest

#endif
