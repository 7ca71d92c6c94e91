#include "Sequence.h"

#include "PegColor.h"


Sequence::Sequence()
{ }


Sequence::Sequence(int c0, int c1, int c2, int c3, int c4)
{
	Set(c0, c1, c2, c3, c4);
}


void
Sequence::Set(int c0, int c1, int c2, int c3, int c4)
{
	colors[0] = c0;
	colors[1] = c1;
	colors[2] = c2;
	colors[3] = c3;
	colors[4] = c4;
}


bool
Sequence::operator==(const Sequence& other) const
{
	for (int i = 0; i < kSequenceLength; i++) {
		if (colors[i] != other.colors[i])
			return false;
	}
	return true;
}


bool
Sequence::operator!=(const Sequence& other) const
{
	return !(*this == other);
}


void
Sequence::Check(const Sequence& other, int& exact, int& color) const
{
	// One flag bit per position marks a peg already matched, so that no peg
	// of either code counts twice.
	uint32_t mine = 0;
	uint32_t theirs = 0;

	exact = 0;
	color = 0;

	for (int i = 0; i < kSequenceLength; i++) {
		if (colors[i] == other.colors[i]) {
			mine |= 1u << i;
			theirs |= 1u << i;
			exact++;
		}
	}

	for (int i = 0; i < kSequenceLength; i++) {
		if ((mine & (1u << i)) != 0)
			continue;
		for (int j = 0; j < kSequenceLength; j++) {
			if ((theirs & (1u << j)) == 0 && colors[i] == other.colors[j]) {
				mine |= 1u << i;
				theirs |= 1u << j;
				color++;
				break;
			}
		}
	}
}


bool
Sequence::TestA(const Sequence& other, int exact) const
{
	int same = 0;
	for (int i = 0; i < kSequenceLength; i++) {
		if (colors[i] == other.colors[i])
			same++;
	}
	return same == exact;
}


bool
Sequence::TestB(const Sequence& other, int color) const
{
	int exactFound;
	int colorFound;
	Check(other, exactFound, colorFound);
	return colorFound == color;
}


bool
Sequence::Compatible(const Sequence& other, int exact, int color) const
{
	return TestA(other, exact) && TestB(other, color);
}


Sequence
Sequence::operator++(int)
{
	Sequence before(*this);

	colors[0]++;
	for (int i = 0; i < kSequenceLength - 1; i++) {
		if (colors[i] == kPegColorCount) {
			colors[i] = 0;
			colors[i + 1]++;
		}
	}
	// The carry out of the top digit is dropped, so the count wraps.
	if (colors[kSequenceLength - 1] == kPegColorCount)
		colors[kSequenceLength - 1] = 0;

	return before;
}
