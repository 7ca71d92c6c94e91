#include <gtest/gtest.h>

#include <list>
#include <vector>

#include "Sequence.h"
#include "Strategy.h"


namespace {

struct Expected {
	Sequence guess;
	int exact;
	int color;
};


void
ExpectGame(const Sequence& secret, const std::vector<Expected>& expected)
{
	std::vector<SolveStep> steps = SolveSecret(secret);
	ASSERT_EQ(steps.size(), expected.size());
	for (size_t i = 0; i < steps.size(); i++) {
		SCOPED_TRACE(testing::Message() << "guess " << i);
		EXPECT_EQ(steps[i].row, kStrategyFirstRow - (int32_t)i);
		EXPECT_EQ(steps[i].guess, expected[i].guess);
		EXPECT_EQ(steps[i].exact, expected[i].exact);
		EXPECT_EQ(steps[i].color, expected[i].color);
	}
}


// Position of a code in the player's order: counting from the first guess
// and wrapping from (8,8,8,8,8) to (0,0,0,0,0).
int32_t
OrderOf(const Sequence& code)
{
	return (SequenceValue(code) - SequenceValue(FirstGuess()) + kSequenceCount)
		% kSequenceCount;
}


std::list<Sequence>
CandidatesAfterFirstGuess(int exact, int color)
{
	std::list<Sequence> candidates;
	BuildCandidates(FirstGuess(), exact, color, candidates);
	return candidates;
}

}	// namespace


TEST(StrategyTest, PlaysTheKnownGames)
{
	ExpectGame(Sequence(0, 1, 2, 3, 4), {
		{ Sequence(0, 1, 2, 3, 4), 5, 0 } });
	ExpectGame(Sequence(5, 5, 5, 5, 5), {
		{ Sequence(0, 1, 2, 3, 4), 0, 0 },
		{ Sequence(5, 5, 5, 5, 5), 5, 0 } });
	ExpectGame(Sequence(8, 7, 6, 5, 4), {
		{ Sequence(0, 1, 2, 3, 4), 1, 0 },
		{ Sequence(4, 4, 4, 4, 4), 1, 0 },
		{ Sequence(5, 5, 5, 5, 4), 2, 0 },
		{ Sequence(6, 6, 6, 5, 4), 3, 0 },
		{ Sequence(7, 7, 6, 5, 4), 4, 0 },
		{ Sequence(8, 7, 6, 5, 4), 5, 0 } });
	ExpectGame(Sequence(0, 0, 0, 0, 0), {
		{ Sequence(0, 1, 2, 3, 4), 1, 0 },
		{ Sequence(4, 4, 4, 4, 4), 0, 0 },
		{ Sequence(0, 0, 0, 0, 5), 4, 0 },
		{ Sequence(0, 5, 0, 0, 5), 3, 0 },
		{ Sequence(0, 0, 0, 0, 6), 4, 0 },
		{ Sequence(0, 0, 0, 0, 7), 4, 0 },
		{ Sequence(0, 0, 0, 0, 8), 4, 0 },
		{ Sequence(0, 0, 0, 0, 0), 5, 0 } });
}


TEST(StrategyTest, EnumerationKeepsCounterOrderAndOnlyAgreeingCodes)
{
	std::list<Sequence> candidates = CandidatesAfterFirstGuess(0, 2);
	ASSERT_EQ(candidates.size(), 14240u);
	EXPECT_EQ(candidates.front(), Sequence(1, 0, 0, 0, 5));

	int32_t previous = -1;
	for (const Sequence& code : candidates) {
		int exact;
		int color;
		code.Check(FirstGuess(), exact, color);
		ASSERT_EQ(exact, 0);
		ASSERT_EQ(color, 2);
		ASSERT_GT(OrderOf(code), previous);
		previous = OrderOf(code);
	}
}


TEST(StrategyTest, FilterKeepsOrderAndDropsThePlayedGuess)
{
	const Sequence guess(1, 0, 0, 0, 5);
	std::list<Sequence> candidates = CandidatesAfterFirstGuess(0, 2);
	std::list<Sequence> expected;
	for (const Sequence& code : candidates) {
		if (code.Compatible(guess, 0, 2))
			expected.push_back(code);
	}
	ASSERT_FALSE(expected.empty());
	ASSERT_LT(expected.size(), candidates.size());

	FilterCandidates(candidates, guess, 0, 2);
	EXPECT_EQ(candidates, expected);
	for (const Sequence& code : candidates)
		EXPECT_NE(code, guess);

	std::list<Sequence> won = { Sequence(2, 2, 2, 2, 2), guess,
		Sequence(1, 0, 0, 0, 6) };
	FilterCandidates(won, guess, 5, 0);
	EXPECT_EQ(won, std::list<Sequence>{ guess });
}


// The walk over all secrets and the game played one secret at a time are
// built differently; they must agree on every guess count.
TEST(StrategyTest, WalkAgreesWithPlayingEachSecret)
{
	std::vector<int32_t> rows;
	SolveAllSecrets(rows);

	std::vector<int32_t> sample;
	for (int32_t value = 0; value < kSequenceCount; value += 89)
		sample.push_back(value);
	sample.push_back(SequenceValue(Sequence(7, 7, 8, 3, 5)));
	sample.push_back(SequenceValue(Sequence(7, 8, 8, 3, 5)));
	sample.push_back(SequenceValue(Sequence(8, 8, 8, 8, 8)));

	for (int32_t value : sample) {
		std::vector<SolveStep> steps = SolveSecret(SequenceFromValue(value));
		ASSERT_FALSE(steps.empty());
		ASSERT_EQ(steps.back().exact, 5) << "value " << value;
		ASSERT_EQ((int32_t)steps.size(), rows[value]) << "value " << value;
	}
}
