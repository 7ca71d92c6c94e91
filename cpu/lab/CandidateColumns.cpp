#include "CandidateColumns.h"

#include <algorithm>


// A padding entry's colour: no guess holds it.
static const uint8_t kNoColour = 0xff;


void
CandidateColumns::Load(
	const CodeSpace& space, const int32_t* codes, int32_t codeCount)
{
	count = codeCount;
	blocks = (count + kColumnBlock - 1) / kColumnBlock;
	fStride = blocks * kColumnBlock;
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


void
CandidateColumns::ScoreBlock(
	const GuessPegs& guess, int32_t block, uint8_t* keys) const
{
	const size_t start = (size_t)block * kColumnBlock;
	for (int32_t j = 0; j < kColumnBlock; j++)
		keys[j] = 0;
	AddMatches(guess, block, keys);
	for (int i = 0; i < fHoles; i++) {
		const uint8_t* row = &fHoleRows[i * fStride + start];
		const uint8_t  colour = guess.digits[i];
		for (int32_t j = 0; j < kColumnBlock; j++)
			keys[j] += row[j] == colour ? kScoreStride : 0;
	}
}


void
CandidateColumns::AddMatches(
	const GuessPegs& guess, int32_t block, uint8_t* keys) const
{
	const size_t start = (size_t)block * kColumnBlock;
	for (int kind = 0; kind < guess.kinds; kind++) {
		const uint8_t* row =
			&fColourRows[guess.kindColour[kind] * fStride + start];
		const uint8_t pegs = guess.kindCount[kind];
		for (int32_t j = 0; j < kColumnBlock; j++)
			keys[j] += std::min(row[j], pegs);
	}
}


void
CandidateColumns::CountMatches(const GuessPegs& guess, int32_t* sizes) const
{
	uint8_t matches[kColumnBlock];
	for (int32_t block = 0; block < blocks; block++) {
		for (int32_t j = 0; j < kColumnBlock; j++)
			matches[j] = 0;
		AddMatches(guess, block, matches);
		const int32_t size =
			std::min(kColumnBlock, count - block * kColumnBlock);
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
		const int32_t start = block * kColumnBlock;
		const int32_t end = std::min(count, start + kColumnBlock);
		std::copy(blockKeys, blockKeys + (end - start), keys + start);
	}
}
