#ifndef PEG_COLOR_H
#define PEG_COLOR_H

#include <cstdint>

// The nine peg colours. The value picks the peg image and the palette slot,
// so the order here is the order of the images and of the palette.
enum PegColor {
	PEG_NONE = -1, // an empty hole
	PEG_RED = 0,
	PEG_YELLOW,
	PEG_BLUE,
	PEG_GREEN,
	PEG_PURPLE,
	PEG_ORANGE,
	PEG_GREY,
	PEG_BLACK,
	PEG_WHITE
};

const int32_t kPegColorCount = 9;

#endif // PEG_COLOR_H
