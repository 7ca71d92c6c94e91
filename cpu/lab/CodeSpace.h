#ifndef CODE_SPACE_H
#define CODE_SPACE_H

#include <cstdint>
#include <string>
#include <vector>

// The codes of a board of any size the lab plays: 2 to 6 holes, 2 to 10
// colours. A code is its number as the game counts codes: the digits of a
// number in base colours, hole 0 the lowest digit.

const int kMinHoles = 2;
const int kMaxHoles = 6;
const int kMinColours = 2;
const int kMaxColours = 10;

// A score as one small number, exact * kScoreStride + matches, where matches
// counts every peg of the right colour, exact or not (exact + colour). Keys
// stay below kScoreKeyLimit, so a table of part sizes is a small array.
const int kScoreStride = 8;
const int kScoreKeyLimit = kScoreStride * kMaxHoles + kMaxHoles + 1;


inline int
ScoreKey(int exact, int color)
{
	return exact * kScoreStride + exact + color;
}


inline int
ScoreExact(int key)
{
	return key / kScoreStride;
}


inline int
ScoreColor(int key)
{
	return key % kScoreStride - key / kScoreStride;
}


// A code as the scoring needs it: its colour in each hole, and each colour
// it holds with how many pegs of it.
struct GuessPegs {
	uint8_t digits[kMaxHoles];
	uint8_t kinds;
	uint8_t kindColour[kMaxHoles];
	uint8_t kindCount[kMaxHoles];
};


class CodeSpace {
public:
	// With guessTables, also pegs and multisets, which ranking every code
	// as a guess needs.
	CodeSpace(int holes, int colours, bool guessTables = false);

	// The code's colour in each hole, hole 0 first.
	const uint8_t*
	Digits(int32_t code) const
	{
		return &digits[(size_t)code * holes];
	}

	int32_t	  Code(const uint8_t* codeDigits) const;
	GuessPegs MakePegs(int32_t code) const;

	// The score of one code against the other, as a key; symmetric.
	int		  Score(int32_t a, int32_t b) const;
	int
	WinKey() const
	{
		return ScoreKey(holes, 0);
	}
	// How many different scores a guess can get: every exact and colour
	// count that add up to at most holes, except holes - 1 exact with one
	// colour mark.
	int					   ScoreCount() const;

	// The code as digits, hole 0 first ("21100").
	std::string			   Text(int32_t code) const;
	// Reads a code written as Text writes it; false if text is not one.
	bool				   Parse(const std::string& text, int32_t& code) const;

	int					   holes;
	int					   colours;
	int32_t				   count;
	// holes digits per code, for every code in counting order.
	std::vector<uint8_t>   digits;
	// Each code's pegs, and a number for its colours whatever their order,
	// from 0 to multisetCount - 1.
	std::vector<GuessPegs> pegs;
	std::vector<uint16_t>  multisets;
	int					   multisetCount = 0;
};

#endif // CODE_SPACE_H
