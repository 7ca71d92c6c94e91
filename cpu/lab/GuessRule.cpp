#include "GuessRule.h"

#include <algorithm>
#include <cmath>

#include "CodeSpace.h"


// Entropy costs are counted in units of 2^-20.
static const long double kEntropyScale = 1048576.0L;


static const char* kStrategyNames[STRATEGY_KIND_COUNT] = { "game", "first",
	"knuth", "parts", "size", "entropy" };

// Relative difference under which two entropy sums count as equal.
static const long double kEntropyTolerance = 1e-12L;


bool
StrategyFromName(const std::string& name, StrategyKind& kind)
{
	for (int k = 0; k < STRATEGY_KIND_COUNT; k++) {
		if (name == kStrategyNames[k]) {
			kind = (StrategyKind)k;
			return true;
		}
	}
	return false;
}


const char*
StrategyName(StrategyKind kind)
{
	return kStrategyNames[kind];
}


bool
RanksGuesses(StrategyKind kind)
{
	return kind != STRATEGY_GAME && kind != STRATEGY_FIRST;
}


GuessRule::GuessRule(StrategyKind kind, int32_t candidates, int scores) :
	kind(kind),
	fScores(scores)
{
	if (kind != STRATEGY_ENTROPY)
		return;
	// One past the most candidates: Prune asks what one more would add to
	// a part holding them all.
	fSizeLogs.resize(candidates + 2);
	for (int32_t s = 1; s <= candidates + 1; s++)
		fSizeLogs[s] = s * logl((long double)s);
}


long double
GuessRule::PartValue(int32_t size) const
{
	if (kind == STRATEGY_SIZE)
		return (long double)size * size;
	return size == 0 ? 0 : fSizeLogs[size];
}


long double
GuessRule::Value(const int32_t* sizes, int keyLimit) const
{
	int32_t largest = 0;
	int		parts = 0;
	int32_t used[kScoreKeyLimit];
	for (int key = 0; key < keyLimit; key++) {
		if (sizes[key] == 0)
			continue;
		largest = std::max(largest, sizes[key]);
		used[parts++] = sizes[key];
	}
	switch (kind) {
		case STRATEGY_KNUTH:
			return largest;
		case STRATEGY_PARTS:
			return -parts;
		default:
			break;
	}
	// Summed smallest first, so that equal parts give equal sums.
	std::sort(used, used + parts);
	long double sum = 0;
	for (int part = 0; part < parts; part++)
		sum += PartValue(used[part]);
	return sum;
}


void
GuessRule::Prune(long double best, int32_t count, std::vector<int64_t>& cost,
	int64_t limit[2]) const
{
	cost.resize(count + 1);
	const bool unranked = std::isinf(best);
	for (int32_t s = 0; s <= count; s++) {
		switch (kind) {
			case STRATEGY_KNUTH:
				// Any part that grows to best ends it.
				cost[s] = !unranked && s + 1 >= best ? 1 : 0;
				break;
			case STRATEGY_PARTS:
				// A candidate that joins a part opens no new one.
				cost[s] = s > 0 ? 1 : 0;
				break;
			case STRATEGY_SIZE:
				// The sum of squares is count plus these.
				cost[s] = 2 * (int64_t)s;
				break;
			default:
				// In fixed point, rounded down so that the sum stays below.
				cost[s] = (int64_t)floorl(
					(PartValue(s + 1) - PartValue(s)) * kEntropyScale);
				break;
		}
	}
	for (int possible = 0; possible < 2; possible++) {
		int64_t& bound = limit[possible];
		if (unranked) {
			bound = INT64_MAX;
			continue;
		}
		switch (kind) {
			case STRATEGY_KNUTH:
				bound = 1;
				break;
			case STRATEGY_PARTS: {
				// At most one part per score the guess can get.
				const int slots = possible ? fScores : fScores - 1;
				bound = slots <= -best ? 0 : count + (int64_t)best;
				break;
			}
			case STRATEGY_SIZE:
				bound = (int64_t)best - count;
				break;
			default:
				// A margin far above the rounding keeps every guess that
				// could tie.
				bound = (int64_t)ceill(best * (1 + 1e-9L) * kEntropyScale);
				break;
		}
	}
}


long double
GuessRule::Spread(int32_t count, int slots) const
{
	// As evenly as they can: every value is convex in the part sizes.
	const int32_t size = count / slots;
	const int32_t larger = count % slots;
	switch (kind) {
		case STRATEGY_KNUTH:
			return larger > 0 ? size + 1 : size;
		case STRATEGY_PARTS:
			return -(size > 0 ? slots : larger);
		default: {
			long double sum = 0;
			if (size > 0)
				sum += (slots - larger) * PartValue(size);
			if (larger > 0)
				sum += larger * PartValue(size + 1);
			return sum;
		}
	}
}


long double
GuessRule::Combine(long double a, long double b) const
{
	return kind == STRATEGY_KNUTH ? std::max(a, b) : a + b;
}


long double
GuessRule::Floor(int32_t count, bool possible) const
{
	// The candidates that do not win spread over the other scores.
	if (!possible)
		return Spread(count, fScores - 1);
	return Combine(Spread(1, 1), Spread(count - 1, fScores - 1));
}


long double
GuessRule::MatchFloor(const int32_t* sizes, int holes) const
{
	// With m pegs of the right colour a guess scores 0 to m exact, except
	// holes - 1 exact with one colour mark.
	long double floor = Spread(0, 1);
	for (int matches = 0; matches <= holes; matches++)
		floor = Combine(floor,
			Spread(sizes[matches], matches < holes ? matches + 1 : holes));
	return floor;
}


bool
GuessRule::Beats(long double a, long double b) const
{
	if (kind == STRATEGY_ENTROPY)
		return a < b - b * kEntropyTolerance;
	return a < b;
}


bool
GuessRule::Reaches(long double value, long double floor) const
{
	return !Beats(floor, value);
}
