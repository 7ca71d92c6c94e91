#ifndef GUESS_SEARCH_H
#define GUESS_SEARCH_H

#include <cstdint>
#include <vector>

#include "CandidateColumns.h"
#include "CodeSpace.h"
#include "GuessRule.h"
#include "GuessSymmetry.h"


// Finds the guess a ranking strategy plays on a set of candidates: the one
// whose parts have the best value, ties going to a code that is still
// possible, then to the lowest-numbered. One per thread: it keeps work
// space between positions.
class GuessSearch : private GuessVisitor {
public:
	// Without symmetric, every code is ranked as a guess; for checking the
	// shortcut.
	GuessSearch(
		const CodeSpace& space, const GuessRule& rule, bool symmetric = true);

	// The candidates of the position to search, in increasing order.
	void			 Load(const int32_t* candidates, int32_t count);
	// The best guess on the loaded candidates.
	int32_t			 Choose(const GuessSymmetry& symmetry);

	CandidateColumns columns;

private:
	struct Best {
		long double value;
		int32_t		code;
	};

	// Ranks guess and makes it fBest if it beats it. Stops counting as
	// soon as the parts seen so far show that it cannot.
	bool					 Rank(int32_t guess, bool possible);
	// Ranks the guesses that are not possible, until one reaches their
	// floor.
	bool					 Visit(int32_t guess) override;

	bool					 fSymmetric;
	const CodeSpace&		 fSpace;
	const GuessRule&		 fRule;
	const int32_t*			 fCandidates = nullptr;
	std::vector<int64_t>	 fCost;
	// The best value each multiset of colours could reach on the position
	// numbered fPosition, where fMultisetPosition says so.
	std::vector<long double> fMultisetFloor;
	std::vector<uint64_t>	 fMultisetPosition;
	uint64_t				 fPosition = 0;
	// Whether each multiset's floor cannot beat fBest, as of the best
	// guess numbered fJudgement (0 for none yet).
	std::vector<uint64_t>	 fMultisetJudged;
	std::vector<uint8_t>	 fMultisetHopeless;
	uint64_t				 fJudgement = 0;
	int64_t					 fLimit[2];
	std::vector<uint8_t>	 fPossible;
	Best					 fBest;
	long double				 fImpossibleFloor;
};

#endif // GUESS_SEARCH_H
