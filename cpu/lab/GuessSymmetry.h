#ifndef GUESS_SYMMETRY_H
#define GUESS_SYMMETRY_H

#include <cstdint>
#include <vector>

#include "CodeSpace.h"


// A way of moving pegs between holes and renaming colours: the peg in hole
// j goes to hole hole[j], colour c becomes colour[c] (-1 where the history
// leaves it open).
struct PegMapping {
	uint8_t hole[kMaxHoles];
	int8_t	colour[kMaxColours];
};


// Is shown guesses one at a time.
class GuessVisitor {
public:
	virtual ~GuessVisitor() = default;
	// False to stop.
	virtual bool Visit(int32_t code) = 0;
};


// The symmetries that the guesses played so far leave intact. Renaming the
// colours that no guess has used yet, or moving pegs between holes together
// with a renaming that turns every guess into itself, maps the remaining
// candidates onto themselves, so guesses related by such a change split
// them into parts of the same sizes, and are equally possible. Only the
// lowest-numbered guess of each such class needs ranking, and as the lowest
// it is also the one the tie-break would take.
class GuessSymmetry {
public:
	GuessSymmetry() = default;
	// Before the first guess: every colour and hole is interchangeable.
	explicit GuessSymmetry(const CodeSpace& space);

	// The symmetries that also keep guess as it is.
	GuessSymmetry After(const CodeSpace& space, int32_t guess) const;

	// Shows visitor, in increasing order, the lowest-numbered code of each
	// class of guesses, until it says stop; false if it did. absent holds
	// the colours that no candidate has: those match nothing, so any one of
	// them in a hole is as good as any other, and only the lowest of them
	// is tried.
	bool		  Representatives(
				 const CodeSpace& space, uint32_t absent, GuessVisitor& visitor) const;
	// True when code is one of those.
	bool Lowest(const CodeSpace& space, uint32_t absent, int32_t code) const;

	// The colours some guess has used, a bit each.
	uint32_t				used = 0;
	// Every hole movement that, with a renaming of the used colours, keeps
	// every guess; the identity is left out.
	std::vector<PegMapping> mappings;
};

#endif // GUESS_SYMMETRY_H
