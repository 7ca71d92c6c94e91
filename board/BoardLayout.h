#ifndef BOARD_LAYOUT_H
#define BOARD_LAYOUT_H

// Where everything lies on the board, in the board view's own coordinates
// (origin at its top-left corner, y downwards, one unit a pixel). Rectangles
// include both edges, so a square of pitch 16 covers 17 by 17 pixels and two
// neighbours share a line. The drawing, the drop, the mouse code and the
// tests all take their numbers from here.

#include <Point.h>
#include <Rect.h>
#include <SupportDefs.h>

#include "PegColor.h"


// The view sits below the menu bar; the window is as wide as its picture.
const BRect kBoardFrame(0, 20, 160, 268);
// The picture: the background image, the offscreen bitmap and its view.
const BRect kBoardArea(0, 0, 159, 248);

// Rows and holes are squares of this pitch; hole 0 of row 0 starts at
// (kHoleLeft, kHoleTop).
const int32 kBoardPitch = 16;
const int32 kHoleLeft = 8;
const int32 kHoleTop = 1;

// The marks of a row stand where a sixth hole would begin, five in a line
// at half the pitch, in the upper half of the row.
const int32 kMarkLeft = 88;
const int32 kMarkPitch = 8;

// The secret's band, below the bottom row.
const int32 kSecretTop = 232;
const int32 kSecretBottom = 248;

// The palette of the background image: one slot per colour, level with the
// bottom nine rows.
const BRect kPaletteFrame(136, 81, 152, 225);


inline BRect
HoleRect(int32 row, int32 hole)
{
	return BRect(kHoleLeft + kBoardPitch * hole, kHoleTop + kBoardPitch * row,
		kHoleLeft + kBoardPitch * (hole + 1),
		kHoleTop + kBoardPitch * (row + 1));
}


inline BRect
MarkRect(int32 row, int32 place)
{
	return BRect(kMarkLeft + kMarkPitch * place, kHoleTop + kBoardPitch * row,
		kMarkLeft + kMarkPitch * (place + 1),
		kHoleTop + kBoardPitch * row + kMarkPitch);
}


inline BRect
SecretRect(int32 hole)
{
	return BRect(kHoleLeft + kBoardPitch * hole, kSecretTop,
		kHoleLeft + kBoardPitch * (hole + 1), kSecretBottom);
}


inline BRect
PaletteSlotRect(int32 color)
{
	return BRect(kPaletteFrame.left, kPaletteFrame.top + kBoardPitch * color,
		kPaletteFrame.right, kPaletteFrame.top + kBoardPitch * (color + 1));
}


// The row and hole that a point falls in, whether or not they exist. Both
// conversions and both divisions truncate toward zero, so row 0 takes every
// y above -15 and hole 0 every x above -8; the caller checks the range.
inline void
HoleAt(BPoint where, int32* row, int32* hole)
{
	*row = ((int32)where.y - kHoleTop) / kBoardPitch;
	*hole = ((int32)where.x - kHoleLeft) / kBoardPitch;
}


// The palette slot of a point, -1 off the palette. A point on a line shared
// by two slots takes the upper one.
inline int32
PaletteSlotAt(BPoint where)
{
	if (!kPaletteFrame.Contains(where))
		return -1;
	int32 color = 0;
	while (
		color < kPegColorCount - 1 && !PaletteSlotRect(color).Contains(where))
		color++;
	return color;
}

#endif // BOARD_LAYOUT_H
