#include "CandidateColumns.h"

#include <algorithm>


// A padding entry's colour: no guess holds it.
static const uint8_t kNoColour = 0xff;
// Blocks are whole numbers of this many candidates, one vector's worth.
static const int32_t kLane = 16;


void
CandidateColumns::Load(
	const CodeSpace& space, const int32_t* codes, int32_t codeCount)
{
	count = codeCount;
	// Few candidates go in one narrow block, so that no time goes on
	// padding.
	width = std::min(kColumnBlock, (count + kLane - 1) / kLane * kLane);
	blocks = (count + width - 1) / width;
	fStride = blocks * width;
	fHoles = space.holes;
	fHoleRows.assign((size_t)fStride * space.holes, kNoColour);
	fColourRows.assign((size_t)fStride * space.colours, 0);
	for (int32_t n = 0; n < count; n++) {
		const uint8_t* digits = space.Digits(codes[n]);
		for (int i = 0; i < space.holes; i++) {
			fHoleRows[(size_t)i * fStride + n] = digits[i];
			fColourRows[(size_t)digits[i] * fStride + n]++;
		}
	}
}


// keys is marked as the only way to the bytes it points to, and the width
// and rows are read into locals first: a byte pointer may point anywhere,
// as far as the compiler knows, and it would read the rows and members
// again after every byte written instead of using vector instructions.
void
CandidateColumns::ScoreBlock(
	const GuessPegs& guess, int32_t block, uint8_t* __restrict keys) const
{
	const int32_t blockWidth = width;
	for (int32_t j = 0; j < blockWidth; j++)
		keys[j] = 0;
	AddMatches(guess, block, keys);
	const uint8_t* rows = fHoleRows.data() + (size_t)block * blockWidth;
	const int32_t  stride = fStride;
	for (int i = 0; i < fHoles; i++) {
		const uint8_t* row = rows + (size_t)i * stride;
		const uint8_t  colour = guess.digits[i];
		for (int32_t j = 0; j < blockWidth; j += kLane) {
			for (int32_t k = j; k < j + kLane; k++)
				keys[k] += row[k] == colour ? kScoreStride : 0;
		}
	}
}


void
CandidateColumns::AddMatches(
	const GuessPegs& guess, int32_t block, uint8_t* __restrict keys) const
{
	const size_t start = (size_t)block * width;
	for (int kind = 0; kind < guess.kinds; kind++) {
		const uint8_t* row =
			&fColourRows[guess.kindColour[kind] * fStride + start];
		const uint8_t pegs = guess.kindCount[kind];
		for (int32_t j = 0; j < width; j += kLane) {
			for (int32_t k = j; k < j + kLane; k++)
				keys[k] += std::min(row[k], pegs);
		}
	}
}


int32_t
CandidateColumns::BlockSize(int32_t block) const
{
	return std::min(width, count - block * width);
}


void
CandidateColumns::CountMatches(const GuessPegs& guess, int32_t* sizes) const
{
	uint8_t matches[kColumnBlock];
	for (int32_t block = 0; block < blocks; block++) {
		for (int32_t j = 0; j < width; j++)
			matches[j] = 0;
		AddMatches(guess, block, matches);
		const int32_t size = BlockSize(block);
		for (int32_t j = 0; j < size; j++)
			sizes[matches[j]]++;
	}
}


void
CandidateColumns::ScoreAll(const GuessPegs& guess, uint8_t* keys) const
{
	uint8_t blockKeys[kColumnBlock];
	for (int32_t block = 0; block < blocks; block++) {
		ScoreBlock(guess, block, blockKeys);
		std::copy(
			blockKeys, blockKeys + BlockSize(block), keys + block * width);
	}
}
