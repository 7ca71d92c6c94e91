#include "interface/Painter.h"

#include "interface/FontFace.h"
#include "interface/PixelBlend.h"

#include <Font.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace BPrivate {

namespace {

// Coordinates are whole pixels; a fractional one goes to the nearest pixel,
// halves upwards, the same way wherever it lies on the plane.
// Far-off coordinates are pulled in to a range where every product below
// stays exact; nothing that far out can be on a buffer anyway.
int32
ToPixel(float value)
{
	const float kFar = 1 << 24;
	if (!(value > -kFar))
		return -(1 << 24);
	if (value > kFar)
		return 1 << 24;
	return (int32)std::floor(value + 0.5f);
}

// How a bitmap pixel lands on the destination, decided once per call.
enum BitmapOp {
	kCopyPixels,	 // every byte copied, alpha included
	kSkipMagic,		 // copied, except pixels equal to the transparent magic
	kOverlayPixels,	 // blended, destination alpha kept
	kCompositePixels // blended, destination alpha combined
};

// The destination pixels 0 .. count - 1 of one axis of a scaled drawing
// sample source pixel sourceStart + i * sourceCount / count; this finds the
// first and last i whose sample lies inside 0 .. sourceExtent - 1, so that
// a source rectangle sticking out of the bitmap leaves those destination
// pixels alone instead of reading outside it. Returns false when none does.
bool
SampledSpan(int32 sourceStart, int32 sourceCount, int32 count,
	int32 sourceExtent, int32* first, int32* last)
{
	int64 lo = 0;
	if (sourceStart < 0)
		lo = ((int64)-sourceStart * count + sourceCount - 1) / sourceCount;
	int64 room = (int64)sourceExtent - sourceStart;
	if (room <= 0)
		return false;
	int64 hi = std::min<int64>(count - 1, (room * count - 1) / sourceCount);
	if (lo > hi)
		return false;
	*first = (int32)lo;
	*last = (int32)hi;
	return true;
}

// A rectangle in whole pixels, edges included.
struct PixelRect {
	int32 left;
	int32 top;
	int32 right;
	int32 bottom;
};

PixelRect
ToPixels(BRect rect)
{
	return PixelRect { ToPixel(rect.left), ToPixel(rect.top),
		ToPixel(rect.right), ToPixel(rect.bottom) };
}

bool
IsTransparentMagic(const uint8* pixel, color_space space)
{
	uint32 value;
	memcpy(&value, pixel, 4);
	// In B_RGB32 the fourth byte means nothing, so only the colour counts.
	if (space == B_RGB32)
		return (value & 0x00ffffff)
			== (B_TRANSPARENT_MAGIC_RGBA32 & 0x00ffffff);
	return value == B_TRANSPARENT_MAGIC_RGBA32;
}

} // namespace


Painter::Painter(const PixelBuffer& target, BRect clip) :
	fTarget(target)
{
	fClipLeft = std::max<int32>(ToPixel(clip.left), 0);
	fClipTop = std::max<int32>(ToPixel(clip.top), 0);
	fClipRight = std::min<int32>(ToPixel(clip.right), target.width - 1);
	fClipBottom = std::min<int32>(ToPixel(clip.bottom), target.height - 1);
	if (target.bits == nullptr) {
		// Nothing to draw into: an empty clip makes every call a no-op.
		fClipRight = fClipLeft - 1;
		fClipBottom = fClipTop - 1;
	}
}


void
Painter::FillRect(BRect rect, rgb_color color, const BlendState& state)
{
	PixelRect area = ToPixels(rect);
	int32	  left = std::max(area.left, fClipLeft);
	int32	  right = std::min(area.right, fClipRight);
	for (int32 y = std::max(area.top, fClipTop);
		 y <= std::min(area.bottom, fClipBottom); y++)
		_FillSpan(left, right, y, color, state);
}


void
Painter::StrokeRect(BRect rect, rgb_color color, const BlendState& state)
{
	auto [left, top, right, bottom] = ToPixels(rect);
	if (left > right || top > bottom)
		return;

	// Every pixel of the outline is touched once, so a translucent colour
	// does not come out darker in the corners.
	_FillSpan(std::max(left, fClipLeft), std::min(right, fClipRight), top,
		color, state);
	if (bottom != top)
		_FillSpan(std::max(left, fClipLeft), std::min(right, fClipRight),
			bottom, color, state);
	for (int32 y = top + 1; y < bottom; y++) {
		_BlendPixel(left, y, color, 255, state);
		if (right != left)
			_BlendPixel(right, y, color, 255, state);
	}
}


void
Painter::StrokeLine(
	BPoint from, BPoint to, rgb_color color, const BlendState& state)
{
	// Bresenham: one pixel per step along the longer axis, both ends drawn.
	int32 x = ToPixel(from.x);
	int32 y = ToPixel(from.y);
	int32 endX = ToPixel(to.x);
	int32 endY = ToPixel(to.y);
	int32 dx = std::abs(endX - x);
	int32 dy = -std::abs(endY - y);
	int32 stepX = x < endX ? 1 : -1;
	int32 stepY = y < endY ? 1 : -1;
	int32 error = dx + dy;
	while (true) {
		_BlendPixel(x, y, color, 255, state);
		if (x == endX && y == endY)
			break;
		int32 twice = 2 * error;
		if (twice >= dy) {
			error += dy;
			x += stepX;
		}
		if (twice <= dx) {
			error += dx;
			y += stepY;
		}
	}
}


void
Painter::FillEllipse(BRect rect, rgb_color color, const BlendState& state)
{
	auto [left, top, right, bottom] = ToPixels(rect);
	if (left > right || top > bottom)
		return;
	double width = (double)right - left + 1;
	double height = (double)bottom - top + 1;

	// A pixel is inside when its centre is inside the ellipse whose edge
	// touches the outer edges of the rectangle's border pixels. In doubled
	// coordinates around the centre (u = 2x - left - right) the test is
	// u^2 h^2 + v^2 w^2 <= w^2 h^2: whole numbers, exact in a double for any
	// ellipse that fits a screen, and the same for u and -u, so the shape is
	// exactly symmetric in both axes.
	double limit = width * width * height * height;
	for (int32 y = std::max(top, fClipTop); y <= std::min(bottom, fClipBottom);
		 y++) {
		double v = 2.0 * y - top - bottom;
		double rowTerm = v * v * width * width;
		if (rowTerm > limit)
			continue;
		// Start from the square root's estimate of the first pixel inside
		// and settle it with the exact test; the row is symmetric, so the
		// right end mirrors it.
		// A plain variable: lambdas may not capture structured bindings
		// with every compiler (clang before 16).
		double ends = (double)left + right;
		auto   inside = [&](int32 x) {
			  double u = 2.0 * x - ends;
			  return u * u * height * height + rowTerm <= limit;
		};
		int32  middle = left + (right - left) / 2;
		double reach = std::sqrt(limit - rowTerm) / height;
		int32  x = (int32)std::clamp<double>(
			 std::ceil((left + right - reach) / 2), left, middle);
		while (x > left && inside(x - 1))
			x--;
		while (x <= middle && !inside(x))
			x++;
		if (x > middle)
			continue;
		int32 mirror = left + right - x;
		_FillSpan(std::max(x, fClipLeft), std::min(mirror, fClipRight), y,
			color, state);
	}
}


void
Painter::DrawBitmap(
	const BBitmap* bitmap, BRect source, BRect dest, const BlendState& state)
{
	if (bitmap == nullptr || bitmap->Bits() == nullptr)
		return;
	color_space space = bitmap->ColorSpace();
	if (space != B_RGB32 && space != B_RGBA32)
		return;

	BRect		 bounds = bitmap->Bounds();
	int32		 bitmapWidth = bounds.IntegerWidth() + 1;
	int32		 bitmapHeight = bounds.IntegerHeight() + 1;
	int32		 bitmapLeft = ToPixel(bounds.left);
	int32		 bitmapTop = ToPixel(bounds.top);
	const uint8* bits = (const uint8*)bitmap->Bits();
	int32		 sourceBytesPerRow = bitmap->BytesPerRow();

	// Source in pixels of the bitmap's buffer, destination in buffer pixels.
	int32		 srcLeft = ToPixel(source.left) - bitmapLeft;
	int32		 srcTop = ToPixel(source.top) - bitmapTop;
	int32		 srcWidth = ToPixel(source.right) - ToPixel(source.left) + 1;
	int32		 srcHeight = ToPixel(source.bottom) - ToPixel(source.top) + 1;
	int32		 dstLeft = ToPixel(dest.left);
	int32		 dstTop = ToPixel(dest.top);
	int32		 dstWidth = ToPixel(dest.right) - dstLeft + 1;
	int32		 dstHeight = ToPixel(dest.bottom) - dstTop + 1;
	if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || dstHeight <= 0)
		return;

	int32 firstColumn, lastColumn, firstRow, lastRow;
	if (!SampledSpan(
			srcLeft, srcWidth, dstWidth, bitmapWidth, &firstColumn, &lastColumn)
		|| !SampledSpan(
			srcTop, srcHeight, dstHeight, bitmapHeight, &firstRow, &lastRow))
		return;
	firstColumn = std::max(firstColumn, fClipLeft - dstLeft);
	lastColumn = std::min(lastColumn, fClipRight - dstLeft);
	firstRow = std::max(firstRow, fClipTop - dstTop);
	lastRow = std::min(lastRow, fClipBottom - dstTop);
	if (firstColumn > lastColumn || firstRow > lastRow)
		return;

	BitmapOp op = kCopyPixels;
	if (state.mode == B_OP_ALPHA)
		op = state.alphaFunction == B_ALPHA_COMPOSITE ? kCompositePixels
													  : kOverlayPixels;
	else if (state.mode != B_OP_COPY)
		op = kSkipMagic;
	bool			   constantAlpha = state.sourceAlpha == B_CONSTANT_ALPHA;

	// Nearest neighbour: column i samples srcLeft + floor(i * srcWidth /
	// dstWidth). The byte offsets of the sampled columns are the same on
	// every row, so they are worked out once.
	int32			   count = lastColumn - firstColumn + 1;
	std::vector<int32> columnOffsets((size_t)count);
	for (int32 i = 0; i < count; i++) {
		int64 column = firstColumn + i;
		columnOffsets[(size_t)i] =
			(int32)(srcLeft + column * srcWidth / dstWidth) * 4;
	}
	const int32* offsets = columnOffsets.data();
	bool		 unscaled = srcWidth == dstWidth;

	for (int32 j = firstRow; j <= lastRow; j++) {
		int32		 sy = srcTop + (int32)((int64)j * srcHeight / dstHeight);
		const uint8* srcRow = bits + (int64)sy * sourceBytesPerRow;
		uint8* dst = fTarget.bits + (int64)(dstTop + j) * fTarget.bytesPerRow
			+ (int64)(dstLeft + firstColumn) * 4;

		switch (op) {
			case kCopyPixels:
				if (unscaled) {
					memcpy(dst, srcRow + offsets[0], (size_t)count * 4);
					break;
				}
				for (int32 i = 0; i < count; i++)
					memcpy(dst + i * 4, srcRow + offsets[i], 4);
				break;
			case kSkipMagic:
				for (int32 i = 0; i < count; i++) {
					if (!IsTransparentMagic(srcRow + offsets[i], space))
						memcpy(dst + i * 4, srcRow + offsets[i], 4);
				}
				break;
			case kOverlayPixels:
				for (int32 i = 0; i < count; i++) {
					const uint8* src = srcRow + offsets[i];
					OverlayPixel(dst + i * 4, src[0], src[1], src[2],
						constantAlpha ? state.constantAlpha : src[3]);
				}
				break;
			case kCompositePixels:
				for (int32 i = 0; i < count; i++) {
					const uint8* src = srcRow + offsets[i];
					CompositePixel(dst + i * 4, src[0], src[1], src[2],
						constantAlpha ? state.constantAlpha : src[3]);
				}
				break;
		}
	}
}


void
Painter::DrawString(const char* text, BPoint baseline, const BFont& font,
	rgb_color color, const BlendState& state)
{
	FontFace* face = font.Face();
	if (face == nullptr || text == nullptr || text[0] == '\0')
		return;
	TextCoverage coverage;
	if (!face->Render(text, &coverage))
		return;

	// The coverage image has the baseline at row `ascent`.
	int32 left = ToPixel(baseline.x);
	int32 top = ToPixel(baseline.y) - coverage.ascent;
	for (int32 row = 0; row < coverage.height; row++) {
		const uint8* line =
			coverage.alpha.data() + (size_t)row * coverage.width;
		for (int32 column = 0; column < coverage.width; column++) {
			if (line[column] != 0)
				_BlendPixel(
					left + column, top + row, color, line[column], state);
		}
	}
}


void
Painter::_BlendPixel(
	int32 x, int32 y, rgb_color color, uint8 coverage, const BlendState& state)
{
	if (x < fClipLeft || x > fClipRight || y < fClipTop || y > fClipBottom)
		return;
	uint8* dst = fTarget.bits + (int64)y * fTarget.bytesPerRow + (int64)x * 4;

	if (state.mode != B_OP_ALPHA) {
		// Copy, over and the modes the program never uses all put the
		// colour down as it is; only a partly covered edge of text is
		// mixed with what lies beneath.
		if (coverage == 255) {
			dst[0] = color.blue;
			dst[1] = color.green;
			dst[2] = color.red;
			dst[3] = color.alpha;
		} else
			OverlayPixel(dst, color.blue, color.green, color.red, coverage);
		return;
	}

	uint8 alpha = state.sourceAlpha == B_CONSTANT_ALPHA ? state.constantAlpha
														: color.alpha;
	alpha = ScaleAlpha(alpha, coverage);
	if (state.alphaFunction == B_ALPHA_COMPOSITE)
		CompositePixel(dst, color.blue, color.green, color.red, alpha);
	else
		OverlayPixel(dst, color.blue, color.green, color.red, alpha);
}


void
Painter::_FillSpan(
	int32 left, int32 right, int32 y, rgb_color color, const BlendState& state)
{
	// Callers clip the ends of the span; the row is checked here.
	if (left > right || y < fClipTop || y > fClipBottom)
		return;
	if (state.mode != B_OP_ALPHA) {
		uint8  pixel[4] = { color.blue, color.green, color.red, color.alpha };
		uint8* dst =
			fTarget.bits + (int64)y * fTarget.bytesPerRow + (int64)left * 4;
		for (int32 x = left; x <= right; x++, dst += 4)
			memcpy(dst, pixel, 4);
		return;
	}
	uint8  alpha = state.sourceAlpha == B_CONSTANT_ALPHA ? state.constantAlpha
														 : color.alpha;
	uint8* dst =
		fTarget.bits + (int64)y * fTarget.bytesPerRow + (int64)left * 4;
	for (int32 x = left; x <= right; x++, dst += 4) {
		if (state.alphaFunction == B_ALPHA_COMPOSITE)
			CompositePixel(dst, color.blue, color.green, color.red, alpha);
		else
			OverlayPixel(dst, color.blue, color.green, color.red, alpha);
	}
}

} // namespace BPrivate
