#include "CodeSpace.h"


CodeSpace::CodeSpace(int holes, int colours, bool guessTables) :
	holes(holes),
	colours(colours),
	count(1)
{
	for (int i = 0; i < holes; i++)
		count *= colours;

	digits.resize((size_t)count * holes);
	std::vector<uint8_t> code(holes, 0);
	for (int32_t value = 0; value < count; value++) {
		for (int i = 0; i < holes; i++)
			digits[(size_t)value * holes + i] = code[i];
		for (int i = 0; i < holes; i++) {
			if (++code[i] < colours)
				break;
			code[i] = 0;
		}
	}
	if (!guessTables)
		return;

	pegs.resize(count);
	multisets.resize(count);
	// Codes whose digits are sorted, highest hole first, name the multisets.
	std::vector<int32_t> numbers(count, -1);
	for (int32_t value = 0; value < count; value++) {
		pegs[value] = MakePegs(value);
		// Sorted by insertion, highest digit in the highest hole.
		uint8_t sorted[kMaxHoles];
		for (int i = 0; i < holes; i++) {
			int j = i;
			for (; j > 0 && sorted[j - 1] > Digits(value)[i]; j--)
				sorted[j] = sorted[j - 1];
			sorted[j] = Digits(value)[i];
		}
		int32_t& number = numbers[Code(sorted)];
		if (number < 0)
			number = multisetCount++;
		multisets[value] = (uint16_t)number;
	}
}


GuessPegs
CodeSpace::MakePegs(int32_t code) const
{
	GuessPegs guess;
	guess.kinds = 0;
	for (int i = 0; i < holes; i++) {
		const uint8_t colour = Digits(code)[i];
		guess.digits[i] = colour;
		int kind = 0;
		while (kind < guess.kinds && guess.kindColour[kind] != colour)
			kind++;
		if (kind == guess.kinds) {
			guess.kindColour[kind] = colour;
			guess.kindCount[kind] = 0;
			guess.kinds++;
		}
		guess.kindCount[kind]++;
	}
	return guess;
}


int32_t
CodeSpace::Code(const uint8_t* codeDigits) const
{
	int32_t value = 0;
	for (int i = holes - 1; i >= 0; i--)
		value = value * colours + codeDigits[i];
	return value;
}


int
CodeSpace::Score(int32_t a, int32_t b) const
{
	const uint8_t* first = Digits(a);
	const uint8_t* second = Digits(b);
	int			   exact = 0;
	int			   firstCounts[kMaxColours] = {};
	int			   secondCounts[kMaxColours] = {};
	for (int i = 0; i < holes; i++) {
		if (first[i] == second[i])
			exact++;
		firstCounts[first[i]]++;
		secondCounts[second[i]]++;
	}
	int matches = 0;
	for (int c = 0; c < colours; c++) {
		matches +=
			firstCounts[c] < secondCounts[c] ? firstCounts[c] : secondCounts[c];
	}
	return exact * kScoreStride + matches;
}


int
CodeSpace::ScoreCount() const
{
	return (holes + 1) * (holes + 2) / 2 - 1;
}


std::string
CodeSpace::Text(int32_t code) const
{
	std::string text;
	for (int i = 0; i < holes; i++)
		text += (char)('0' + Digits(code)[i]);
	return text;
}


bool
CodeSpace::Parse(const std::string& text, int32_t& code) const
{
	if (text.size() != (size_t)holes)
		return false;
	uint8_t values[kMaxHoles];
	for (int i = 0; i < holes; i++) {
		const int digit = text[i] - '0';
		if (digit < 0 || digit >= colours)
			return false;
		values[i] = (uint8_t)digit;
	}
	code = Code(values);
	return true;
}
