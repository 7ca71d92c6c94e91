#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>

#include "PegColor.h"
#include "Sequence.h"


namespace {

Sequence
RandomSequence(std::mt19937& random)
{
	std::uniform_int_distribution<int> color(0, kPegColorCount - 1);
	return Sequence(color(random), color(random), color(random), color(random),
		color(random));
}


} // namespace


// The colour pass must agree with counting colours: for every colour the
// smaller of the two codes' numbers of pegs, summed, less the exact marks.
// Pairs with repeated colours first, then random ones, every tenth a code
// against itself. Compatible and its two halves hold for that score alone,
// and codes are equal only when every position is.
TEST(SequenceTest, ScoresMatchColourCountsAndCompatibleHoldsForThemAlone)
{
	const Sequence known[][2] = {
		{ Sequence(0, 0, 1, 1, 2), Sequence(0, 1, 0, 2, 2) },
		{ Sequence(1, 1, 1, 1, 1), Sequence(1, 2, 3, 4, 5) },
		{ Sequence(0, 0, 1, 2, 3), Sequence(0, 0, 0, 0, 0) },
		{ Sequence(0, 1, 2, 3, 4), Sequence(4, 0, 1, 2, 3) },
		{ Sequence(2, 2, 5, 5, 5), Sequence(5, 2, 2, 8, 8) },
	};
	const int	 knownCount = std::size(known);
	std::mt19937 random(20240611);
	for (int n = 0; n < 200000; n++) {
		Sequence a = n < knownCount ? known[n][0] : RandomSequence(random);
		Sequence b = n < knownCount ? known[n][1]
			: n % 10 == 0			? a
									: RandomSequence(random);

		int		 countA[kPegColorCount] = {};
		int		 countB[kPegColorCount] = {};
		int		 same = 0;
		for (int i = 0; i < kSequenceLength; i++) {
			countA[a.colors[i]]++;
			countB[b.colors[i]]++;
			same += a.colors[i] == b.colors[i];
		}
		int shared = 0;
		for (int c = 0; c < kPegColorCount; c++)
			shared += std::min(countA[c], countB[c]);

		int exact;
		int color;
		int backExact;
		int backColor;
		a.Check(b, exact, color);
		b.Check(a, backExact, backColor);
		ASSERT_EQ(exact, same) << "pair " << n;
		ASSERT_EQ(color, shared - same) << "pair " << n;
		ASSERT_EQ(backExact, exact);
		ASSERT_EQ(backColor, color);
		ASSERT_EQ(a == b, same == kSequenceLength) << "pair " << n;
		ASSERT_EQ(a != b, same != kSequenceLength) << "pair " << n;
		for (int e = 0; e <= 5 && n < 20000; e++) {
			for (int c = 0; c <= 5; c++) {
				ASSERT_EQ(a.Compatible(b, e, c), e == exact && c == color)
					<< "pair " << n << " exact " << e << " color " << c;
				ASSERT_EQ(a.TestA(b, e), e == exact);
				ASSERT_EQ(a.TestB(b, c), c == color);
			}
		}
	}
}


// Position 0 is the lowest base-9 digit; the carry out of the top is dropped.
TEST(SequenceTest, CounterCarriesIntoEveryHoleAndReturnsTheOldCode)
{
	const Sequence steps[][2] = {
		{ Sequence(0, 1, 2, 3, 4), Sequence(1, 1, 2, 3, 4) },
		{ Sequence(8, 8, 0, 5, 5), Sequence(0, 0, 1, 5, 5) },
		{ Sequence(8, 8, 8, 8, 0), Sequence(0, 0, 0, 0, 1) },
		{ Sequence(8, 8, 8, 8, 8), Sequence(0, 0, 0, 0, 0) },
	};
	for (const auto& step : steps) {
		Sequence code(step[0]);
		EXPECT_EQ(code++, step[0]);
		EXPECT_EQ(code, step[1]);
	}
}
