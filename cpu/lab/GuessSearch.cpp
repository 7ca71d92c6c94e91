#include "GuessSearch.h"

#include <algorithm>
#include <cmath>


// Up to this many candidates, every one of them is ranked before the
// classes of guesses are worked out: a candidate that splits them all apart
// often ends the search first.
static const int32_t kFewCandidates = 256;


GuessSearch::GuessSearch(
	const CodeSpace& space, const GuessRule& rule, bool symmetric) :
	fSymmetric(symmetric),
	fSpace(space),
	fRule(rule),
	fMultisetFloor(space.multisetCount),
	fMultisetPosition(space.multisetCount, 0),
	fPossible(space.count, 0)
{ }


void
GuessSearch::Load(const int32_t* candidates, int32_t count)
{
	fCandidates = candidates;
	columns.Load(fSpace, candidates, count);
	fPosition++;
}


int32_t
GuessSearch::Choose(const GuessSymmetry& symmetry)
{
	const int32_t count = columns.count;
	if (count == 1)
		return fCandidates[0];

	uint32_t present = 0;
	for (int32_t n = 0; n < count; n++) {
		fPossible[fCandidates[n]] = 1;
		const uint8_t* digits = fSpace.Digits(fCandidates[n]);
		for (int i = 0; i < fSpace.holes; i++)
			present |= 1u << digits[i];
	}
	const uint32_t absent = ((1u << fSpace.colours) - 1) & ~present;

	if (count > kFewCandidates)
		Guesses(symmetry, absent);

	// Possible guesses first, in increasing order; then the others, which
	// have to do strictly better to win.
	Best best { HUGE_VALL, -1 };
	fRule.Prune(best.value, count, fCost, fLimit);
	const long double possibleFloor = fRule.Floor(count, true);
	bool			  done = false;
	if (count > kFewCandidates) {
		for (int32_t guess : fGuesses) {
			if (fPossible[guess] && Rank(guess, true, best)
				&& fRule.Reaches(best.value, possibleFloor)) {
				done = true;
				break;
			}
		}
	} else {
		for (int32_t n = 0; n < count; n++) {
			if (Rank(fCandidates[n], true, best)
				&& fRule.Reaches(best.value, possibleFloor)) {
				done = true;
				break;
			}
		}
	}

	// A guess that reaches the floor of the impossible ones ends the search:
	// the possible ones have been ranked, and the rest come later.
	const long double impossibleFloor = fRule.Floor(count, false);
	if (!done && !fRule.Reaches(best.value, impossibleFloor)) {
		if (count <= kFewCandidates)
			Guesses(symmetry, absent);
		for (int32_t guess : fGuesses) {
			if (!fPossible[guess] && Rank(guess, false, best)
				&& fRule.Reaches(best.value, impossibleFloor)) {
				break;
			}
		}
	}

	for (int32_t n = 0; n < count; n++)
		fPossible[fCandidates[n]] = 0;
	return best.code;
}


void
GuessSearch::Guesses(const GuessSymmetry& symmetry, uint32_t absent)
{
	fGuesses.clear();
	if (fSymmetric) {
		symmetry.Representatives(fSpace, absent, fGuesses);
		return;
	}
	for (int32_t code = 0; code < fSpace.count; code++)
		fGuesses.push_back(code);
}


bool
GuessSearch::Rank(int32_t guess, bool possible, Best& best)
{
	ranked++;
	const double limit = fLimit[possible];
	if (limit <= 0)
		return false;

	// Whatever their holes, the guess's colours give each candidate some
	// number of pegs of the right colour, and the exact marks can only
	// split those groups so far.
	const int multiset = fSpace.multisets[guess];
	if (fMultisetPosition[multiset] != fPosition) {
		int32_t matches[kMaxHoles + 1] = {};
		columns.CountMatches(fSpace.pegs[guess], matches);
		fMultisetFloor[multiset] = fRule.MatchFloor(matches, fSpace.holes);
		fMultisetPosition[multiset] = fPosition;
	}
	if (best.code >= 0 && !fRule.Beats(fMultisetFloor[multiset], best.value))
		return false;

	const GuessPegs& pegs = fSpace.pegs[guess];
	const int32_t	 count = columns.count;
	int32_t			 sizes[kScoreKeyLimit] = {};
	uint8_t			 keys[kColumnBlock];
	double			 cost = 0;
	for (int32_t block = 0; block < columns.blocks; block++) {
		columns.ScoreBlock(pegs, block, keys);
		const int32_t size =
			std::min(kColumnBlock, count - block * kColumnBlock);
		for (int32_t j = 0; j < size; j++) {
			cost += fCost[sizes[keys[j]]++];
			if (cost >= limit)
				return false;
		}
	}

	const long double value = fRule.Value(sizes, fSpace.WinKey() + 1);
	if (best.code >= 0 && !fRule.Beats(value, best.value))
		return false;
	best.value = value;
	best.code = guess;
	fRule.Prune(best.value, count, fCost, fLimit);
	return true;
}
