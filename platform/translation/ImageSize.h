#ifndef _KX_IMAGE_SIZE_H
#define _KX_IMAGE_SIZE_H

// Reads the pixel size that an image file declares in its header, before
// anything is decoded, so that an absurd size can be refused without first
// allocating for it.

#include <SupportDefs.h>

#include <cstddef>

namespace BPrivate {

enum image_size_result {
	IMAGE_SIZE_FOUND,	// width and height were read
	IMAGE_SIZE_UNKNOWN, // a format this reader does not know
	IMAGE_SIZE_CORRUPT, // a known format whose header is cut short or invalid
};

// Knows PNG, BMP, GIF and JPEG; `format` (when given) gets the short name
// of the format found ("PNG", "BMP", "GIF" or "JPG").
image_size_result PeekImageSize(const uint8* data, size_t length, int64* width,
	int64* height, const char** format = nullptr);

} // namespace BPrivate

#endif
