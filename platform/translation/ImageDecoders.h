#ifndef _KX_IMAGE_DECODERS_H
#define _KX_IMAGE_DECODERS_H

// One decoder per picture format, each given the whole file in memory and
// only after its header's size was found sane. Each gives a B_RGB32 bitmap
// (alpha kept where the format has it, else opaque), or null for anything
// it cannot decode or that decodes to more than the largest accepted size.

#include <Bitmap.h>
#include <SupportDefs.h>

#include <cstddef>

namespace BPrivate {

// The largest picture accepted, a side and in all.
const int64 kMaxImageSide = 4096;
const int64 kMaxImagePixels = kMaxImageSide * kMaxImageSide;

// The most scans a progressive JPEG picture may have. Each scan is a pass
// over the whole picture, so a small file of thousands of tiny scans would
// keep the decoder busy for minutes; the usual progressions have about ten.
const int	kMaxJPEGScans = 32;

bool		SaneImageSize(int64 width, int64 height);

BBitmap*	DecodeBMP(const uint8* data, size_t length);
BBitmap*	DecodePNG(const uint8* data, size_t length);
BBitmap*	DecodeJPEG(const uint8* data, size_t length);

} // namespace BPrivate

#endif
