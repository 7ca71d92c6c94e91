#ifndef STRATEGY_H
#define STRATEGY_H

#include <list>
#include <vector>

#include "Sequence.h"

// The computer player's strategy: a fixed first guess, then always the first
// code, in counter order from the first guess, that agrees with every score
// received so far. The player thread and the solver command both play by
// these functions.

// Board rows, numbered top (0) to bottom (13); a game starts on the bottom.
const int32_t kStrategyRowCount = 14;
const int32_t kStrategyFirstRow = kStrategyRowCount - 1;


// One guess of a solved game: the row it was played on and its score.
struct SolveStep {
	int32_t	 row;
	Sequence guess;
	int32_t	 exact;
	int32_t	 color;
};


// The opening guess, (0,1,2,3,4): red, yellow, blue, green, purple.
Sequence FirstGuess();

// Appends to out, in counter order starting at first, every code that would
// have given first the score (exact, color). Tests all 59,049 codes once and
// keeps only those; whatever out held before stays in front of them. Call it
// with the first guess and the score that it received.
void	 BuildCandidates(
		const Sequence& first, int exact, int color, std::list<Sequence>& out);

// Removes from list, keeping the order of the rest, every code that would not
// have given guess the score (exact, color). The guess itself goes unless it
// scored five exact marks.
void FilterCandidates(
	std::list<Sequence>& list, const Sequence& guess, int exact, int color);

// Plays one game against secret the way the computer player does on the
// board: the first guess on the bottom row, then the front of the candidate
// list on each row upward, until a guess scores five exact marks or the top
// row has been played. Returns the guesses in the order played.
std::vector<SolveStep> SolveSecret(const Sequence& secret);

// Finds, for every one of the 59,049 secrets, how many rows the computer
// player needs to win (a win with the first guess takes 1 row), without
// playing each game on its own: the candidates are split by the score that
// each would give the guess, and every part is played on by its front code.
// rows is resized to kSequenceCount and indexed by SequenceValue(secret).
// The count is not capped at the board's 14 rows.
void				   SolveAllSecrets(std::vector<int32_t>& rows);

// The code read as a base-9 number, position 0 the lowest digit: the index of
// a code in tables that cover all codes, from 0 to 59,048.
int32_t				   SequenceValue(const Sequence& code);
// The code whose SequenceValue is value (0 to 59,048).
Sequence			   SequenceFromValue(int32_t value);

#endif // STRATEGY_H
