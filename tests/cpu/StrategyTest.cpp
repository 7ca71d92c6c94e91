#include <gtest/gtest.h>

#include <vector>

#include "Sequence.h"
#include "Strategy.h"


namespace {

struct Expected {
	Sequence guess;
	int		 exact;
	int		 color;
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

} // namespace


TEST(StrategyTest, PlaysTheKnownGames)
{
	ExpectGame(Sequence(0, 1, 2, 3, 4), { { Sequence(0, 1, 2, 3, 4), 5, 0 } });
	ExpectGame(Sequence(5, 5, 5, 5, 5),
		{ { Sequence(0, 1, 2, 3, 4), 0, 0 },
			{ Sequence(5, 5, 5, 5, 5), 5, 0 } });
	ExpectGame(Sequence(8, 7, 6, 5, 4),
		{ { Sequence(0, 1, 2, 3, 4), 1, 0 }, { Sequence(4, 4, 4, 4, 4), 1, 0 },
			{ Sequence(5, 5, 5, 5, 4), 2, 0 },
			{ Sequence(6, 6, 6, 5, 4), 3, 0 },
			{ Sequence(7, 7, 6, 5, 4), 4, 0 },
			{ Sequence(8, 7, 6, 5, 4), 5, 0 } });
	ExpectGame(Sequence(0, 0, 0, 0, 0),
		{ { Sequence(0, 1, 2, 3, 4), 1, 0 }, { Sequence(4, 4, 4, 4, 4), 0, 0 },
			{ Sequence(0, 0, 0, 0, 5), 4, 0 },
			{ Sequence(0, 5, 0, 0, 5), 3, 0 },
			{ Sequence(0, 0, 0, 0, 6), 4, 0 },
			{ Sequence(0, 0, 0, 0, 7), 4, 0 },
			{ Sequence(0, 0, 0, 0, 8), 4, 0 },
			{ Sequence(0, 0, 0, 0, 0), 5, 0 } });
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
