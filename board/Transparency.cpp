#include "Transparency.h"

#include <Bitmap.h>

namespace {

const uint8 kDragAlpha = 150;

// The pixels of a 32-bit bitmap whose rows follow each other without a gap,
// or null for anything else (no bitmap, another layout): those are left
// alone rather than read out of bounds.
uint8*
PixelsOf(BBitmap* bitmap, int32* count)
{
	if (bitmap == nullptr || bitmap->Bits() == nullptr)
		return nullptr;
	color_space space = bitmap->ColorSpace();
	if (space != B_RGB32 && space != B_RGBA32)
		return nullptr;
	BRect bounds = bitmap->Bounds();
	int32 width = (int32)bounds.right + 1;
	int32 height = (int32)bounds.bottom + 1;
	if (width <= 0 || height <= 0 || bitmap->BytesPerRow() != width * 4
		|| (int64)width * height * 4 > bitmap->BitsLength())
		return nullptr;
	*count = width * height;
	return static_cast<uint8*>(bitmap->Bits());
}

} // namespace

void
MakeTransparent(BBitmap* bitmap)
{
	int32  count = 0;
	uint8* pixel = PixelsOf(bitmap, &count);
	if (pixel == nullptr)
		return;
	for (int32 i = 0; i < count; i++, pixel += 4) {
		// bytes: blue, green, red, alpha
		bool key = pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255;
		pixel[3] = key ? 0 : 255;
	}
}

void
MakeSemiTransparent(BBitmap* bitmap)
{
	int32  count = 0;
	uint8* pixel = PixelsOf(bitmap, &count);
	if (pixel == nullptr)
		return;
	for (int32 i = 0; i < count; i++, pixel += 4) {
		if (pixel[3] != 0)
			pixel[3] = kDragAlpha;
	}
}
