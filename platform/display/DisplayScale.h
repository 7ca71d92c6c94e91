#ifndef _KX_DISPLAY_SCALE_H
#define _KX_DISPLAY_SCALE_H

// Whole-number enlargement for screens of high pixel density: the
// application draws at 96 dots per inch and the display multiplies.

#include <SupportDefs.h>

namespace BPrivate {

// 1 at 96 dots per inch or less, 2 at 192, 3 at 288; 1 when the screen
// reports nothing usable.
int32 ScaleForDpi(float dpi);

// A screen coordinate in the application's pixels, rounding down so that
// every screen pixel maps into the application pixel it shows.
int32 FromScreen(int32 screen, int32 scale);

} // namespace BPrivate

#endif
