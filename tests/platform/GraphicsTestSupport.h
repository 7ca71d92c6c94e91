#ifndef _KX_GRAPHICS_TEST_SUPPORT_H
#define _KX_GRAPHICS_TEST_SUPPORT_H

// Helpers to make and read 32-bit bitmaps, and a small one for drawing
// tests.

#include "interface/Painter.h"

#include <Bitmap.h>

#include <memory>
#include <string>

inline void
SetPixel(BBitmap* bitmap, int32 x, int32 y, rgb_color color)
{
	uint8* p = (uint8*)bitmap->Bits() + (size_t)y * bitmap->BytesPerRow()
		+ (size_t)x * 4;
	p[0] = color.blue;
	p[1] = color.green;
	p[2] = color.red;
	p[3] = color.alpha;
}

inline rgb_color
GetPixel(const BBitmap* bitmap, int32 x, int32 y)
{
	const uint8* p = (const uint8*)bitmap->Bits()
		+ (size_t)y * bitmap->BytesPerRow() + (size_t)x * 4;
	return rgb_color { p[2], p[1], p[0], p[3] };
}

// A bitmap to draw in through a painter.
struct Canvas {
	std::unique_ptr<BBitmap> bitmap;
	BPrivate::PixelBuffer	 buffer;

	Canvas(int32 width, int32 height, rgb_color fill) :
		bitmap(new BBitmap(BRect(0, 0, width - 1, height - 1), B_RGBA32))
	{
		buffer.bits = (uint8*)bitmap->Bits();
		buffer.width = width;
		buffer.height = height;
		buffer.bytesPerRow = bitmap->BytesPerRow();
		for (int32 y = 0; y < height; y++) {
			for (int32 x = 0; x < width; x++)
				SetPixel(bitmap.get(), x, y, fill);
		}
	}

	rgb_color
	At(int32 x, int32 y) const
	{
		return GetPixel(bitmap.get(), x, y);
	}

	BPrivate::Painter
	Painter() const
	{
		return BPrivate::Painter(buffer, BRect(0, 0, 9999, 9999));
	}

	// One character a pixel, rows separated by newlines: '#' where the pixel
	// is `ink`, '.' elsewhere.
	std::string
	Picture(BRect area, rgb_color ink) const
	{
		std::string picture;
		for (int32 y = (int32)area.top; y <= (int32)area.bottom; y++) {
			for (int32 x = (int32)area.left; x <= (int32)area.right; x++)
				picture += At(x, y) == ink ? '#' : '.';
			picture += '\n';
		}
		return picture;
	}
};

// Pixel (x, y) of a gradient bitmap: every pixel tells where it came from.
inline rgb_color
GradientAt(int32 x, int32 y)
{
	return make_color(10 * x + 1, 10 * y + 1, 7, 255);
}

inline BBitmap*
MakeGradient(int32 width, int32 height)
{
	BBitmap* bitmap = new BBitmap(BRect(0, 0, width - 1, height - 1), B_RGBA32);
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++)
			SetPixel(bitmap, x, y, GradientAt(x, y));
	}
	return bitmap;
}

#endif
