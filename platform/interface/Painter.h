#ifndef _KX_PAINTER_H
#define _KX_PAINTER_H

// Software rasteriser shared by every view: draws into a 32-bit pixel buffer
// (bytes blue, green, red, alpha) clipped to one rectangle. All coordinates
// given to a Painter are buffer pixels; views translate their own
// coordinates before calling it.

#include <Bitmap.h>
#include <GraphicsDefs.h>
#include <Rect.h>

class BFont;

namespace BPrivate {

struct PixelBuffer {
	uint8* bits = nullptr;
	int32  width = 0;
	int32  height = 0;
	int32  bytesPerRow = 0;
};

// The drawing state of a view that affects how pixels are combined.
struct BlendState {
	drawing_mode   mode = B_OP_COPY;
	source_alpha   sourceAlpha = B_PIXEL_ALPHA;
	alpha_function alphaFunction = B_ALPHA_OVERLAY;
	// With B_CONSTANT_ALPHA every pixel, of a shape or of a bitmap, takes
	// this opacity; a view sets it from its high colour's alpha.
	uint8		   constantAlpha = 255;
};

class Painter {
public:
	// clip is in buffer pixels, edges included; it is cut to the buffer.
	Painter(const PixelBuffer& target, BRect clip);

	// Shapes are drawn in one colour; rectangles include both edges.
	void FillRect(BRect rect, rgb_color color, const BlendState& state);
	void StrokeRect(BRect rect, rgb_color color, const BlendState& state);
	void StrokeLine(
		BPoint from, BPoint to, rgb_color color, const BlendState& state);
	// The ellipse inscribed in the inclusive rectangle.
	void FillEllipse(BRect rect, rgb_color color, const BlendState& state);

	// Draws the part source (bitmap coordinates) of a B_RGB32 or B_RGBA32
	// bitmap into dest (buffer pixels), nearest-neighbour scaled when the
	// pixel counts differ, pixel for pixel when they match.
	void DrawBitmap(const BBitmap* bitmap, BRect source, BRect dest,
		const BlendState& state);

	// Draws UTF-8 text with its baseline starting at the given point.
	void DrawString(const char* text, BPoint baseline, const BFont& font,
		rgb_color color, const BlendState& state);

private:
	void		_BlendPixel(int32 x, int32 y, rgb_color color, uint8 coverage,
			   const BlendState& state);
	void		_FillSpan(int32 left, int32 right, int32 y, rgb_color color,
			   const BlendState& state);

	PixelBuffer fTarget;
	int32		fClipLeft;
	int32		fClipTop;
	int32		fClipRight;
	int32		fClipBottom;
};

} // namespace BPrivate

#endif
