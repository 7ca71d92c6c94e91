#ifndef _KX_PIXEL_BLEND_H
#define _KX_PIXEL_BLEND_H

// The arithmetic that combines one source pixel with one destination pixel.
// Pixels are four bytes: blue, green, red, alpha.
//
// Rounding: a channel blended at opacity a (0 to 255) is
//     (src * a + dst * (255 - a) + 127) / 255
// in integers, so a = 255 gives the source exactly and a = 0 the
// destination exactly, and the error is never more than half a step.

#include <SupportDefs.h>

namespace BPrivate {

inline uint8
BlendChannel(uint8 src, uint8 dst, uint8 alpha)
{
	return (uint8)((src * alpha + dst * (255 - alpha) + 127) / 255);
}

// Scales an opacity by a coverage (both 0 to 255), rounding to nearest.
inline uint8
ScaleAlpha(uint8 alpha, uint8 coverage)
{
	return (uint8)((alpha * coverage + 127) / 255);
}

// Paints over an opaque picture: the colour bytes move towards the source,
// the destination keeps its own alpha byte.
inline void
OverlayPixel(uint8* dst, uint8 blue, uint8 green, uint8 red, uint8 alpha)
{
	if (alpha == 0)
		return;
	if (alpha == 255) {
		dst[0] = blue;
		dst[1] = green;
		dst[2] = red;
		return;
	}
	dst[0] = BlendChannel(blue, dst[0], alpha);
	dst[1] = BlendChannel(green, dst[1], alpha);
	dst[2] = BlendChannel(red, dst[2], alpha);
}

// Source over destination where both carry an opacity, so a picture that is
// itself partly transparent stays correct: the result's alpha is
// a + da * (255 - a) / 255 (rounded), and each colour is the two colours
// weighted by their share of it. On an opaque destination this equals OverlayPixel.
inline void
CompositePixel(uint8* dst, uint8 blue, uint8 green, uint8 red, uint8 alpha)
{
	if (alpha == 0)
		return;
	uint32 dstAlpha = dst[3];
	uint32 outAlpha = alpha + (dstAlpha * (255 - alpha) + 127) / 255;
	// The colour is a weighted mean, so it never leaves 0 to 255.
	uint32 srcWeight = alpha * 255u;
	uint32 dstWeight = dstAlpha * (255u - alpha);
	uint32 total = srcWeight + dstWeight;
	uint8  source[3] = { blue, green, red };
	for (int i = 0; i < 3; i++)
		dst[i] =
			(uint8)((source[i] * srcWeight + dst[i] * dstWeight + total / 2)
				/ total);
	dst[3] = (uint8)outAlpha;
}

} // namespace BPrivate

#endif
