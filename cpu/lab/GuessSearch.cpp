#include "GuessSearch.h"

#include <algorithm>
#include <cmath>


// Up to this many candidates, every candidate is ranked as a guess, not
// only the lowest of each class: finding those costs more than ranking.
static const int32_t kFewCandidates = 256;


GuessSearch::GuessSearch(
	const CodeSpace& space, const GuessRule& rule, bool symmetric) :
	fSymmetric(symmetric),
	fSpace(space),
	fRule(rule),
	fMultisetFloor(space.multisetCount),
	fMultisetPosition(space.multisetCount, 0),
	fMultisetJudged(space.multisetCount, 0),
	fMultisetHopeless(space.multisetCount, 0),
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

	// Possible guesses first, in increasing order, until one reaches the
	// floor that no guess can pass; then the others, which have to do
	// strictly better to win.
	fBest = Best { HUGE_VALL, -1 };
	fJudgement++;
	fRule.Prune(fBest.value, count, fCost, fLimit);
	const long double possibleFloor = fRule.Floor(count, true);
	bool			  done = false;
	for (int32_t n = 0; n < count && !done; n++) {
		const int32_t guess = fCandidates[n];
		if (fSymmetric && count > kFewCandidates
			&& !symmetry.Lowest(fSpace, absent, guess)) {
			continue;
		}
		done = Rank(guess, true) && fRule.Reaches(fBest.value, possibleFloor);
	}

	fImpossibleFloor = fRule.Floor(count, false);
	if (!done && !fRule.Reaches(fBest.value, fImpossibleFloor)) {
		if (fSymmetric) {
			symmetry.Representatives(fSpace, absent, *this);
		} else {
			for (int32_t code = 0; code < fSpace.count && Visit(code); code++)
				;
		}
	}

	for (int32_t n = 0; n < count; n++)
		fPossible[fCandidates[n]] = 0;
	return fBest.code;
}


bool
GuessSearch::Visit(int32_t guess)
{
	// A guess that reaches the floor of the impossible ones ends the
	// search: the possible ones have been ranked, and the rest come later.
	return fPossible[guess] || !Rank(guess, false)
		|| !fRule.Reaches(fBest.value, fImpossibleFloor);
}


bool
GuessSearch::Rank(int32_t guess, bool possible)
{
	const int64_t limit = fLimit[possible];
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
		fMultisetJudged[multiset] = 0;
	}
	if (fMultisetJudged[multiset] != fJudgement) {
		fMultisetJudged[multiset] = fJudgement;
		fMultisetHopeless[multiset] = fBest.code >= 0
			&& !fRule.Beats(fMultisetFloor[multiset], fBest.value);
	}
	if (fMultisetHopeless[multiset])
		return false;

	const GuessPegs& pegs = fSpace.pegs[guess];
	const int32_t	 count = columns.count;
	int32_t			 sizes[kScoreKeyLimit] = {};
	uint8_t			 keys[kColumnBlock];
	int64_t			 cost = 0;
	for (int32_t block = 0; block < columns.blocks; block++) {
		columns.ScoreBlock(pegs, block, keys);
		const int32_t size = columns.BlockSize(block);
		for (int32_t j = 0; j < size; j++) {
			cost += fCost[sizes[keys[j]]++];
			if (cost >= limit)
				return false;
		}
	}

	const long double value = fRule.Value(sizes, fSpace.WinKey() + 1);
	if (fBest.code >= 0 && !fRule.Beats(value, fBest.value))
		return false;
	fBest.value = value;
	fBest.code = guess;
	fRule.Prune(fBest.value, count, fCost, fLimit);
	fJudgement++;
	return true;
}
