#ifndef _KX_PEG_ART_H
#define _KX_PEG_ART_H

// The nine pegs: a shaded bead in the peg's colour carrying a small shape of
// its own, so that the pegs can be told apart without colour vision. The
// bead's outline is hard, so that every pixel outside it is the exact key
// colour; shading and the shape inside are anti-aliased.

#include "Raster.h"

const int				 kPegSize = 17;
const int				 kPegCount = 9;

// File names, in peg colour order.
extern const char* const kPegNames[kPegCount];

struct PegPicture {
	Raster			  pixels;
	std::vector<bool> inside; // false where the key colour shows
};

const RGB  kKeyColor = { 255, 0, 255 };

PegPicture RenderPeg(int color);

#endif
