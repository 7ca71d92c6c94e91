#include "display/DisplayScale.h"

#include <cmath>

namespace BPrivate {

namespace {

const float kBaseDpi = 96;
// Beyond this the reported figure is taken for nonsense.
const int32 kMaxScale = 8;
// Screens report their density only roughly (189 for a nominal 192).
const float kSlack = 0.05f;

} // namespace

int32
ScaleForDpi(float dpi)
{
	if (!std::isfinite(dpi) || dpi <= kBaseDpi)
		return 1;
	int32 scale = (int32)std::floor(dpi / kBaseDpi + kSlack);
	if (scale < 1 || scale > kMaxScale)
		return 1;
	return scale;
}

int32
FromScreen(int32 screen, int32 scale)
{
	if (scale <= 1)
		return screen;
	// Rounds toward minus infinity: a pointer left of the window stays left.
	return screen >= 0 ? screen / scale : -((-screen + scale - 1) / scale);
}

} // namespace BPrivate
