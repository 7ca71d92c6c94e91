#include "IconPng.h"

#include <png.h>

#include <cstdio>

namespace BPrivate {

namespace {

const uint8 kTransparentIndex = 255;

} // namespace


bool
WriteIconPng(const char* path, const std::vector<uint8>& pixels, int32 size,
	int32 scale, const ColorMap& colors, std::string* error)
{
	const int32		   outSize = size * scale;
	std::vector<uint8> rgba(size_t(outSize) * outSize * 4);
	for (int32 y = 0; y < outSize; y++) {
		for (int32 x = 0; x < outSize; x++) {
			uint8			index = pixels[(y / scale) * size + x / scale];
			const MapColor& color = colors.ColorAt(index);
			uint8*			out = &rgba[(size_t(y) * outSize + x) * 4];
			out[0] = color.red;
			out[1] = color.green;
			out[2] = color.blue;
			out[3] = index == kTransparentIndex ? 0 : 255;
		}
	}

	FILE* file = fopen(path, "wb");
	if (file == nullptr) {
		*error = std::string(path)
			+ ": cannot be created; check that its "
			  "folder exists and is writable";
		return false;
	}
	png_image image = {};
	image.version = PNG_IMAGE_VERSION;
	image.width = uint32(outSize);
	image.height = uint32(outSize);
	image.format = PNG_FORMAT_RGBA;
	bool written =
		png_image_write_to_stdio(&image, file, 0, rgba.data(), 0, nullptr) != 0;
	written = fclose(file) == 0 && written;
	if (!written) {
		*error = std::string(path) + ": could not be written (" + image.message
			+ ")";
		return false;
	}
	return true;
}

} // namespace BPrivate
