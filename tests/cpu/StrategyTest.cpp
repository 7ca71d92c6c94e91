#include <gtest/gtest.h>

#include <vector>

#include "Strategy.h"


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
