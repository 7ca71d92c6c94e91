#ifndef PEG_SLOT_H
#define PEG_SLOT_H

#include <SupportDefs.h>

class BBitmap;


// One hole of the board. The image is borrowed from the board view's peg
// images and is never freed through a slot.
struct PegSlot {
	BBitmap* bitmap;
	// null in an empty hole
	int32	 colorIndex;
	// a PegColor; PEG_NONE (-1) exactly when the hole is empty
};


// The marks of a scored row: they tell how many pegs were right, not which,
// so a row holds its exact marks first, then its colour marks, then none.
enum {
	HINT_NONE = 0,
	HINT_COLOR = 1, // right colour in another hole, drawn white
	HINT_EXACT = 2	// right colour in the right hole, drawn black
};

#endif // PEG_SLOT_H
