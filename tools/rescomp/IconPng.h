#ifndef _KX_ICON_PNG_H
#define _KX_ICON_PNG_H

// Renders colour-mapped icon pixels to PNG, enlarged by whole pixels so
// that a larger size keeps the drawn look instead of blurring it.

#include "ColorMap.h"

#include <string>
#include <vector>

namespace BPrivate {

// `pixels` holds size x size colour map indices, rows from the top; the
// PNG is size * scale pixels square. Index 255 is written transparent.
bool WriteIconPng(const char* path, const std::vector<uint8>& pixels,
	int32 size, int32 scale, const ColorMap& colors, std::string* error);

} // namespace BPrivate

#endif
