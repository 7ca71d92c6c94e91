#ifndef GUESS_RULE_H
#define GUESS_RULE_H

#include <cstdint>
#include <string>
#include <vector>

// How a strategy picks its next guess.
enum StrategyKind {
	STRATEGY_GAME,	  // the first possible code counting on from the opening
	STRATEGY_FIRST,	  // the lowest-numbered possible code
	STRATEGY_KNUTH,	  // smallest largest part
	STRATEGY_PARTS,	  // most parts
	STRATEGY_SIZE,	  // smallest sum of squared part sizes
	STRATEGY_ENTROPY, // smallest sum of s ln s over the part sizes
	STRATEGY_KIND_COUNT
};


// The strategy's name on the command line ("knuth"); false if none has it.
bool		StrategyFromName(const std::string& name, StrategyKind& kind);
const char* StrategyName(StrategyKind kind);
// True for the strategies that rank every code as a guess by its parts.
bool		RanksGuesses(StrategyKind kind);


// The value a ranking strategy gives a guess from the sizes of the parts it
// splits the candidates into; lower is better. Values of the integer rules
// are exact; the entropy rule sums s ln s over the parts in increasing
// order in long double, and takes two sums as equal when they agree to a
// relative 1e-12, because different parts can have mathematically equal
// sums that rounding would tell apart.
class GuessRule {
public:
	// candidates and scores bound the tables: at most that many candidates
	// and that many different scores a guess can get.
	GuessRule(StrategyKind kind, int32_t candidates, int scores);

	long double Value(const int32_t* sizes, int keyLimit) const;

	// For ranking a guess against the best value so far a candidate at a
	// time: cost[s] is what putting one more candidate into a part of s
	// adds to a lower bound of the value, and a guess whose costs add up to
	// limit cannot rank before best any more. A possible guess can get one
	// more score, the win, so its limit is limit[1].
	void Prune(long double best, int32_t count, std::vector<int64_t>& cost,
		int64_t limit[2]) const;
	// The best value any guess could reach on count candidates.
	long double	 Floor(int32_t count, bool possible) const;
	// The best value any guess could reach whose colours, whatever their
	// holes, give sizes[m] candidates m pegs of the right colour.
	long double	 MatchFloor(const int32_t* sizes, int holes) const;

	// True when value a ranks strictly before b.
	bool		 Beats(long double a, long double b) const;
	// True when value reaches floor, so nothing ranks before it.
	bool		 Reaches(long double value, long double floor) const;

	StrategyKind kind;

private:
	long double				 PartValue(int32_t size) const;
	// The best value of count candidates spread over slots parts.
	long double				 Spread(int32_t count, int slots) const;
	long double				 Combine(long double a, long double b) const;

	int						 fScores;
	std::vector<long double> fSizeLogs;
};

#endif // GUESS_RULE_H
