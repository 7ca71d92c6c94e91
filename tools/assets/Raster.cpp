#include "Raster.h"

#include <algorithm>
#include <cmath>

Raster::Raster(int width, int height, RGB fill) :
	fWidth(width),
	fHeight(height),
	fPixels(size_t(width) * height, fill)
{ }


std::vector<unsigned char>
Raster::Bytes() const
{
	std::vector<unsigned char> bytes;
	bytes.reserve(fPixels.size() * 3);
	for (const RGB& pixel : fPixels) {
		for (float channel : { pixel.red, pixel.green, pixel.blue })
			bytes.push_back(
				(unsigned char)std::clamp(std::lround(channel), 0L, 255L));
	}
	return bytes;
}
