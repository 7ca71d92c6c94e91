#include "GuessSymmetry.h"

#include <algorithm>
#include <cstring>


namespace {

// What the colours of a guess are reduced to before codes are compared.
struct ColourClasses {
	uint32_t absent;
	int		 absentFirst; // the lowest absent colour, -1 if none
	uint32_t free;		  // interchangeable colours that no guess used
	uint32_t all;
};


// Turns a code into the lowest-numbered code of its class: every absent
// colour becomes the lowest absent one, and the free colours are renamed in
// the order in which they first appear from the highest hole down, lowest
// first.
void
Reduce(const ColourClasses& classes, int holes, uint8_t* digits)
{
	int8_t renamed[kMaxColours];
	memset(renamed, -1, sizeof(renamed));
	uint32_t left = classes.free;
	for (int i = holes - 1; i >= 0; i--) {
		const int colour = digits[i];
		if ((classes.absent >> colour) & 1) {
			digits[i] = (uint8_t)classes.absentFirst;
		} else if ((classes.free >> colour) & 1) {
			if (renamed[colour] < 0) {
				renamed[colour] = (int8_t)__builtin_ctz(left);
				left &= left - 1;
			}
			digits[i] = (uint8_t)renamed[colour];
		}
	}
}


// True when code, already reduced, is also the lowest of the codes that
// the hole movements turn it into.
bool
LowestUnderMappings(const CodeSpace& space, const GuessSymmetry& symmetry,
	const ColourClasses& classes, const uint8_t* digits, int32_t code)
{
	for (const PegMapping& mapping : symmetry.mappings) {
		uint8_t image[kMaxHoles];
		for (int j = 0; j < space.holes; j++) {
			const int colour = mapping.colour[digits[j]];
			image[mapping.hole[j]] = colour >= 0 ? (uint8_t)colour : digits[j];
		}
		Reduce(classes, space.holes, image);
		if (space.Code(image) < code)
			return false;
	}
	return true;
}


// Walks the codes whose colours are already reduced, highest hole first so
// that they come in increasing order.
struct ReducedWalk {
	const CodeSpace&	 space;
	const GuessSymmetry& symmetry;
	const ColourClasses& classes;
	GuessVisitor&		 visitor;
	int32_t				 weights[kMaxHoles];
	uint8_t				 digits[kMaxHoles];

	// False once the visitor has had enough.
	bool
	Hole(int hole, uint32_t freeUsed, int32_t code)
	{
		if (hole < 0) {
			if (!symmetry.mappings.empty()
				&& !LowestUnderMappings(
					space, symmetry, classes, digits, code)) {
				return true;
			}
			return visitor.Visit(code);
		}
		// Any colour but the absent ones after the first, and of the free
		// ones those used higher up and the lowest one not used yet.
		const uint32_t freeLeft = classes.free & ~freeUsed;
		uint32_t	   choices = (classes.all & ~classes.absent & ~classes.free)
			| (classes.free & freeUsed) | (freeLeft & -freeLeft);
		if (classes.absentFirst >= 0)
			choices |= 1u << classes.absentFirst;
		while (choices != 0) {
			const int	   colour = __builtin_ctz(choices);
			const uint32_t bit = 1u << colour;
			choices &= choices - 1;
			digits[hole] = (uint8_t)colour;
			if (!Hole(hole - 1, freeUsed | (bit & classes.free),
					code + colour * weights[hole])) {
				return false;
			}
		}
		return true;
	}
};


ColourClasses
Classes(const CodeSpace& space, uint32_t used, uint32_t absent)
{
	ColourClasses classes;
	classes.all = (1u << space.colours) - 1;
	classes.absent = absent;
	classes.absentFirst = absent != 0 ? __builtin_ctz(absent) : -1;
	// The unused colours are all absent or all present: the candidates are
	// the same after any renaming of them.
	classes.free =
		(classes.all & ~used & absent) != 0 ? 0 : classes.all & ~used;
	return classes;
}

} // namespace


GuessSymmetry::GuessSymmetry(const CodeSpace& space) :
	used(0)
{
	PegMapping mapping;
	memset(mapping.colour, -1, sizeof(mapping.colour));
	for (int i = 0; i < kMaxHoles; i++)
		mapping.hole[i] = (uint8_t)i;
	while (std::next_permutation(mapping.hole, mapping.hole + space.holes))
		mappings.push_back(mapping);
}


GuessSymmetry
GuessSymmetry::After(const CodeSpace& space, int32_t guess) const
{
	const uint8_t* digits = space.Digits(guess);
	GuessSymmetry  next(*this);
	for (int i = 0; i < space.holes; i++)
		next.used |= 1u << digits[i];

	// A renaming that holds at every hole of every guess is one to one by
	// itself: it turns each guess's colours into the same colours, so it
	// permutes them, and two guesses' permutations agree where they meet.
	next.mappings.clear();
	for (PegMapping mapping : mappings) {
		bool keeps = true;
		for (int j = 0; j < space.holes && keeps; j++) {
			const int colour = digits[j];
			const int target = digits[mapping.hole[j]];
			if (mapping.colour[colour] < 0)
				mapping.colour[colour] = (int8_t)target;
			keeps = mapping.colour[colour] == target;
		}
		if (keeps)
			next.mappings.push_back(mapping);
	}
	return next;
}


bool
GuessSymmetry::Representatives(
	const CodeSpace& space, uint32_t absent, GuessVisitor& visitor) const
{
	ReducedWalk walk { space, *this, Classes(space, used, absent), visitor, {},
		{} };
	int32_t		weight = 1;
	for (int i = 0; i < space.holes; i++) {
		walk.weights[i] = weight;
		weight *= space.colours;
	}
	return walk.Hole(space.holes - 1, 0, 0);
}


bool
GuessSymmetry::Lowest(
	const CodeSpace& space, uint32_t absent, int32_t code) const
{
	const ColourClasses classes = Classes(space, used, absent);
	uint8_t				digits[kMaxHoles] = {};
	memcpy(digits, space.Digits(code), space.holes);
	Reduce(classes, space.holes, digits);
	return space.Code(digits) == code
		&& LowestUnderMappings(space, *this, classes, digits, code);
}
