#ifndef CANDIDATE_COLUMNS_H
#define CANDIDATE_COLUMNS_H

#include <cstdint>
#include <vector>

#include "CodeSpace.h"

// Candidates are scored against a guess a block of at most this many at a
// time.
const int32_t kColumnBlock = 64;


// The candidates of one position laid out so that many guesses can be
// scored against them quickly: one row of bytes per hole with each
// candidate's colour there, and one row per colour with how many pegs of it
// each candidate holds. The loops over a row are plain byte arithmetic that
// the compiler turns into vector instructions. Rows are padded to whole
// blocks with entries that match no peg.
class CandidateColumns {
public:
	void Load(const CodeSpace& space, const int32_t* codes, int32_t count);

	// The score key against guess of each candidate of the block
	// (numbered from 0), in keys[0 .. width); the padding after the last
	// candidate scores 0.
	void ScoreBlock(
		const GuessPegs& guess, int32_t block, uint8_t* __restrict keys) const;
	// The score key of every candidate against guess, in keys[0 .. count).
	void	ScoreAll(const GuessPegs& guess, uint8_t* keys) const;
	// How many candidates have m pegs of the colours of guess, whatever
	// their holes, in sizes[m].
	void	CountMatches(const GuessPegs& guess, int32_t* sizes) const;

	// How many candidates of the block are real, not padding.
	int32_t BlockSize(int32_t block) const;

	int32_t count = 0;
	int32_t width = 0; // candidates in a block
	int32_t blocks = 0;

private:
	void AddMatches(
		const GuessPegs& guess, int32_t block, uint8_t* __restrict keys) const;

	int32_t				 fStride = 0;
	int					 fHoles = 0;
	std::vector<uint8_t> fHoleRows;
	std::vector<uint8_t> fColourRows;
};

#endif // CANDIDATE_COLUMNS_H
