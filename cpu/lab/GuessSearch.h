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
class GuessSearch {
public:
	// Without symmetric, every code is ranked as a guess; for checking the
	// shortcut.
	GuessSearch(
		const CodeSpace& space, const GuessRule& rule, bool symmetric = true);

	// The candidates of the position to search, in increasing order.
	void			 Load(const int32_t* candidates, int32_t count);
	// The best guess on the loaded candidates.
	int32_t			 Choose(const GuessSymmetry& symmetry);

	// How many guesses were ranked, for the benchmarks.
	int64_t			 ranked = 0;
	CandidateColumns columns;

private:
	struct Best {
		long double value;
		int32_t		code;
	};

	// Ranks guess and makes it best if it beats best. Stops counting as
	// soon as the parts seen so far show that it cannot.
	bool				Rank(int32_t guess, bool possible, Best& best);
	// Fills fGuesses with the guesses to rank, in increasing order.
	void				Guesses(const GuessSymmetry& symmetry, uint32_t absent);

	bool				fSymmetric;
	const CodeSpace&	fSpace;
	const GuessRule&	fRule;
	const int32_t*		fCandidates = nullptr;
	std::vector<double> fCost;
	// The best value each multiset of colours could reach on the position
	// numbered fPosition, where fMultisetPosition says so.
	std::vector<long double> fMultisetFloor;
	std::vector<uint32_t>	 fMultisetPosition;
	uint32_t				 fPosition = 0;
	double					 fLimit[2];
	std::vector<uint8_t>	 fPossible;
	std::vector<int32_t>	 fGuesses;
};

#endif // GUESS_SEARCH_H
