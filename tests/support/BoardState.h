#ifndef KX_TEST_BOARD_STATE_H
#define KX_TEST_BOARD_STATE_H

// What the rules change on the board, copied under the main window's lock
// (every writer of the board, the window's thread and the computer player,
// holds it), and the promises the board keeps between any two rule steps.

#include <string>

#include "KXView.h"

namespace kxtest {

// The colour of a hole whose image is not its colour's peg.
const int32 kWrongImage = -2;

struct BoardState {
	int32	 hints[kBoardRowCount][kBoardHoleCount];
	int32	 colors[kBoardRowCount][kBoardHoleCount];
	int32	 secretColors[kBoardHoleCount];
	int32	 currentRow;
	bool	 gameActive;
	bool	 cpuActive;
	Sequence secret;

	bool	 operator==(const BoardState& other) const = default;

	static BoardState
	Of(const KXView* view)
	{
		BoardState state;
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			state.secretColors[h] = _Color(view, view->secretPegs[h]);
			for (int32 r = 0; r < kBoardRowCount; r++) {
				state.hints[r][h] = view->hints[r][h];
				state.colors[r][h] = _Color(view, view->pegs[r][h]);
			}
		}
		state.currentRow = view->currentRow;
		state.gameActive = view->gameActive;
		state.cpuActive = view->cpuActive;
		state.secret = view->secret;
		return state;
	}

	int32
	CountPegs(int32 row) const
	{
		int32 count = 0;
		for (int32 h = 0; h < kBoardHoleCount; h++)
			count += colors[row][h] != PEG_NONE;
		return count;
	}

	Sequence
	Row(int32 row) const
	{
		const int32* c = colors[row];
		return Sequence(c[0], c[1], c[2], c[3], c[4]);
	}

	// The first broken promise, or an empty string.
	std::string
	Broken() const
	{
		if (currentRow < -1 || currentRow > kBoardFirstRow)
			return "currentRow " + std::to_string(currentRow)
				+ " is off the board";
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			if (secretColors[h] != secret.colors[h]
				|| secretColors[h] == PEG_NONE)
				return "secret peg " + std::to_string(h)
					+ " is not the secret's";
		}
		for (int32 r = 0; r < kBoardRowCount; r++) {
			std::string row = "row " + std::to_string(r);
			for (int32 h = 0; h < kBoardHoleCount; h++) {
				if (colors[r][h] == kWrongImage)
					return row + " has a hole with the wrong image";
			}
			int32 count = CountPegs(r);
			if (r > currentRow && (count != kBoardHoleCount || !_Scored(r)))
				return row + " below the current row is not full and scored";
			if (r < currentRow && (count != 0 || _Marked(r)))
				return row + " above the current row is not empty";
			if (r == currentRow && _Marked(r) && !_Won(r))
				return row + ", the current row, carries marks but was not won";
		}
		// The player clears gameActive before cpuActive when its game ends,
		// so with the player gone a finished board never shows a game on.
		bool over = currentRow < 0 || _Won(currentRow);
		if (over && !cpuActive && gameActive)
			return "the game is over but still active";
		return std::string();
	}

private:
	static int32
	_Color(const KXView* view, const PegSlot& slot)
	{
		bool good = slot.colorIndex == PEG_NONE
			? slot.bitmap == nullptr
			: slot.colorIndex >= 0 && slot.colorIndex < kPegColorCount
				&& slot.bitmap == view->pegBitmaps[slot.colorIndex];
		return good ? slot.colorIndex : kWrongImage;
	}

	bool
	_Marked(int32 row) const
	{
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			if (hints[row][h] != HINT_NONE)
				return true;
		}
		return false;
	}

	// The row's marks are its score against the secret: exact ones first,
	// then colour ones.
	bool
	_Scored(int32 row) const
	{
		int exact;
		int color;
		secret.Check(Row(row), exact, color);
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			int32 mark = h < exact	? HINT_EXACT
				: h < exact + color ? HINT_COLOR
									: HINT_NONE;
			if (hints[row][h] != mark)
				return false;
		}
		return true;
	}

	bool
	_Won(int32 row) const
	{
		return CountPegs(row) == kBoardHoleCount && _Scored(row)
			&& hints[row][kBoardHoleCount - 1] == HINT_EXACT;
	}
};

} // namespace kxtest

#endif // KX_TEST_BOARD_STATE_H
