#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>
#include <vector>

#include "GuessSymmetry.h"
#include "StrategyLab.h"


namespace {

// The plain method, written from the definitions alone: codes as digit
// vectors, scores counted the textbook way, every code tried as a guess at
// every position, parts in a map.
struct PlainBoard {
	int							  holes;
	int							  colours;
	std::vector<std::vector<int>> codes;
	std::vector<int>			  scores; // of every pair

	PlainBoard(int holes, int colours) :
		holes(holes),
		colours(colours)
	{
		std::vector<int> code(holes, 0);
		while (true) {
			codes.push_back(code);
			int i = 0;
			while (i < holes && ++code[i] == colours)
				code[i++] = 0;
			if (i == holes)
				break;
		}
		const int count = (int)codes.size();
		scores.resize(count * count);
		for (int a = 0; a < count; a++) {
			for (int b = 0; b < count; b++)
				scores[a * count + b] = Count(a, b);
		}
	}

	int
	Score(int a, int b) const
	{
		return scores[a * codes.size() + b];
	}

	int
	Count(int a, int b) const
	{
		int exact = 0;
		int common = 0;
		for (int i = 0; i < holes; i++)
			exact += codes[a][i] == codes[b][i];
		for (int c = 0; c < colours; c++) {
			common += std::min(std::count(codes[a].begin(), codes[a].end(), c),
				std::count(codes[b].begin(), codes[b].end(), c));
		}
		return exact * 10 + common - exact;
	}

	long double
	Value(
		StrategyKind kind, int guess, const std::vector<int>& candidates) const
	{
		int parts[100] = {};
		for (int candidate : candidates)
			parts[Score(guess, candidate)]++;
		int sizes[100];
		int count = 0;
		for (int size : parts) {
			if (size > 0)
				sizes[count++] = size;
		}
		std::sort(sizes, sizes + count);
		long double value = 0;
		for (int n = 0; n < count; n++) {
			const int size = sizes[n];
			if (kind == STRATEGY_KNUTH)
				value = size;
			else if (kind == STRATEGY_PARTS)
				value -= 1;
			else if (kind == STRATEGY_SIZE)
				value += (long double)size * size;
			else
				value += size * logl(size);
		}
		return value;
	}

	int
	Choose(StrategyKind kind, const std::vector<int>& candidates,
		int opening) const
	{
		if (kind == STRATEGY_GAME) {
			for (int candidate : candidates) {
				if (candidate >= opening)
					return candidate;
			}
			return candidates[0];
		}
		if (kind == STRATEGY_FIRST || candidates.size() == 1)
			return candidates[0];
		std::vector<bool> possibles(codes.size(), false);
		for (int candidate : candidates)
			possibles[candidate] = true;
		int			best = -1;
		long double bestValue = 0;
		bool		bestPossible = false;
		for (int guess = 0; guess < (int)codes.size(); guess++) {
			const long double value = Value(kind, guess, candidates);
			const bool		  possible = possibles[guess];
			const long double margin =
				kind == STRATEGY_ENTROPY ? 1e-12L * bestValue : 0;
			if (best < 0 || value < bestValue - margin
				|| (value <= bestValue + margin && possible && !bestPossible)) {
				best = guess;
				bestValue = value;
				bestPossible = possible;
			}
		}
		return best;
	}

	// Plays every secret of candidates on from depth, guessing the opening
	// first when it is not negative.
	void
	Play(StrategyKind kind, const std::vector<int>& candidates, int opening,
		int guess, int depth, std::vector<int32_t>& rows) const
	{
		if (guess < 0)
			guess = Choose(kind, candidates, opening);
		std::map<int, std::vector<int>> parts;
		for (int candidate : candidates)
			parts[Score(guess, candidate)].push_back(candidate);
		for (const auto& part : parts) {
			if (part.first == holes * 10)
				rows[guess] = depth;
			else
				Play(kind, part.second, opening, -1, depth + 1, rows);
		}
	}

	std::vector<int32_t>
	Rows(StrategyKind kind, int opening) const
	{
		std::vector<int> all(codes.size());
		for (size_t code = 0; code < codes.size(); code++)
			all[code] = (int)code;
		if (opening < 0)
			opening = Choose(kind, all, 0);
		std::vector<int32_t> rows(codes.size(), 0);
		Play(kind, all, opening, opening, 1, rows);
		return rows;
	}
};


struct Collect : GuessVisitor {
	std::vector<int32_t> codes;

	bool
	Visit(int32_t code) override
	{
		codes.push_back(code);
		return true;
	}
};


struct LastReport : LabProgress {
	int64_t done = -1;
	int64_t total = -1;

	void
	Solved(int64_t solvedNow, int64_t totalNow) override
	{
		done = solvedNow;
		total = totalNow;
	}
};


// Colour i in hole i, the colours counted round again.
int
GameOpening(int holes, int colours)
{
	int code = 0;
	for (int i = holes - 1; i >= 0; i--)
		code = code * colours + i % colours;
	return code;
}


std::vector<int32_t>
LabRows(LabSettings settings, LabProgress* progress = nullptr)
{
	std::vector<int32_t> rows;
	StrategyLab(settings).SolveAll(rows, progress);
	return rows;
}

} // namespace


// Every strategy on two threads, with and without the symmetry shortcut,
// against the plain method over every secret; on the boards of four colours
// every game played alone too, and once with a fixed opening.
TEST(StrategyLabTest, EveryStrategyPlaysAsThePlainMethod)
{
	const int sizes[][2] = { { 3, 4 }, { 4, 4 }, { 5, 3 }, { 4, 5 }, { 4, 6 } };
	for (const auto& size : sizes) {
		const PlainBoard board(size[0], size[1]);
		for (int kind = 0; kind < STRATEGY_KIND_COUNT; kind++) {
			SCOPED_TRACE(testing::Message()
				<< size[0] << "x" << size[1] << " "
				<< StrategyName((StrategyKind)kind));
			LabSettings settings;
			settings.holes = size[0];
			settings.colours = size[1];
			settings.strategy = (StrategyKind)kind;
			settings.threads = 2;
			const int opening =
				kind == STRATEGY_GAME ? GameOpening(size[0], size[1]) : -1;
			const std::vector<int32_t> expected =
				board.Rows(settings.strategy, opening);
			LastReport				   progress;
			const std::vector<int32_t> rows = LabRows(settings, &progress);
			EXPECT_EQ(rows, expected);
			EXPECT_EQ(progress.done, (int64_t)expected.size());
			settings.symmetry = false;
			EXPECT_EQ(LabRows(settings), expected);
			if (size[1] != 4)
				continue;

			settings.symmetry = true;
			StrategyLab lab(settings);
			for (int32_t secret = 0; secret < lab.space.count; secret++) {
				const std::vector<LabStep> steps = lab.Play(secret);
				ASSERT_EQ((int32_t)steps.size(), rows[secret]);
				EXPECT_EQ(steps.back().guess, secret);
				EXPECT_EQ(steps.back().exact, size[0]);
			}
			settings.first = 5;
			EXPECT_EQ(LabRows(settings), board.Rows(settings.strategy, 5));
		}
	}
}


// The classic figures: the two-pairs opening, 5,801 guesses over all 1,296
// secrets, at most 5; and 5,668 for the most parts.
TEST(StrategyLabTest, KnuthFindsTheClassicTableOnFourHolesAndSixColours)
{
	LabSettings settings;
	settings.holes = 4;
	settings.colours = 6;
	settings.strategy = STRATEGY_KNUTH;
	StrategyLab			 lab(settings);
	std::vector<int32_t> rows;
	lab.SolveAll(rows);
	EXPECT_EQ(lab.space.Text(lab.Opening()), "1100");
	int64_t total = 0;
	for (int32_t needed : rows)
		total += needed;
	EXPECT_EQ(total, 5801);
	EXPECT_EQ(*std::max_element(rows.begin(), rows.end()), 5);

	settings.strategy = STRATEGY_PARTS;
	rows = LabRows(settings);
	EXPECT_EQ(std::accumulate(rows.begin(), rows.end(), 0), 5668);
}


// Against the classes found by trying every movement of holes and renaming
// of colours that keeps the guesses played, with the colours no candidate
// has made one. Two games, each seen before any guess and after each: one
// whose second guess leaves a colour no candidate has; one whose guess has
// every colour of the secret, so that the colours never used are absent.
TEST(StrategyLabTest, SymmetryKeepsTheLowestGuessOfEachClass)
{
	const CodeSpace								space(4, 5);
	const PlainBoard							board(4, 5);
	const std::vector<std::vector<const char*>> games = {
		{ "3304", "0011", "2010" }, { "0120", "1200" }
	};
	for (const std::vector<const char*>& game : games) {
		int32_t secret;
		space.Parse(game[0], secret);
		std::vector<int32_t> history;
		GuessSymmetry		 symmetry(space);
		for (size_t step = 1; step <= game.size(); step++) {
			if (step > 1) {
				int32_t guess;
				space.Parse(game[step - 1], guess);
				history.push_back(guess);
				symmetry = symmetry.After(space, guess);
			}
			uint32_t present = 0;
			for (int32_t code = 0; code < space.count; code++) {
				bool agrees = true;
				for (int32_t played : history)
					agrees = agrees
						&& board.Score(played, code)
							== board.Score(played, secret);
				for (int i = 0; i < 4 && agrees; i++)
					present |= 1u << space.Digits(code)[i];
			}
			const uint32_t		 absent = 31 & ~present;

			std::vector<int32_t> lowest(space.count);
			for (int32_t code = 0; code < space.count; code++)
				lowest[code] = code;
			std::vector<int> holes = { 0, 1, 2, 3 };
			do {
				std::vector<int> colours = { 0, 1, 2, 3, 4 };
				do {
					bool keeps = true;
					for (int32_t played : history) {
						const uint8_t* digits = space.Digits(played);
						for (int j = 0; j < 4; j++)
							keeps =
								keeps && colours[digits[j]] == digits[holes[j]];
					}
					for (int32_t code = 0; code < space.count && keeps;
						 code++) {
						uint8_t image[4];
						for (int j = 0; j < 4; j++) {
							const int colour = colours[space.Digits(code)[j]];
							image[holes[j]] = (uint8_t)((absent >> colour) & 1
									? __builtin_ctz(absent)
									: colour);
						}
						lowest[code] =
							std::min(lowest[code], space.Code(image));
					}
				} while (std::next_permutation(colours.begin(), colours.end()));
			} while (std::next_permutation(holes.begin(), holes.end()));

			std::vector<int32_t> expected;
			for (int32_t code = 0; code < space.count; code++) {
				if (lowest[code] == code)
					expected.push_back(code);
			}
			Collect found;
			symmetry.Representatives(space, absent, found);
			for (int32_t code = 0; code < space.count; code++) {
				EXPECT_EQ(
					symmetry.Lowest(space, absent, code), lowest[code] == code)
					<< space.Text(code);
			}
			EXPECT_EQ(found.codes, expected)
				<< game[0] << " after " << history.size() << " guesses";
		}
	}
}


// 6 ln 6 + 2 ln 2 and 4 ln 4 + 6 ln 3 are equal, but their sums in long
// double differ in the last place: neither split may rank before the other.
TEST(StrategyLabTest, EntropyTakesEqualSumsAsEqual)
{
	const GuessRule	  rule(STRATEGY_ENTROPY, 10, 21);
	int32_t			  sixTwoOneOne[kScoreKeyLimit] = { 6, 2, 1, 1 };
	int32_t			  fourThreeThree[kScoreKeyLimit] = { 4, 3, 3 };
	const long double first = rule.Value(sixTwoOneOne, kScoreKeyLimit);
	const long double second = rule.Value(fourThreeThree, kScoreKeyLimit);
	EXPECT_FALSE(rule.Beats(first, second));
	EXPECT_FALSE(rule.Beats(second, first));
	int32_t threeThreeTwoTwo[kScoreKeyLimit] = { 3, 3, 2, 2 };
	EXPECT_TRUE(
		rule.Beats(rule.Value(threeThreeTwoTwo, kScoreKeyLimit), first));
}
