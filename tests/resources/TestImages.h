#ifndef _KX_TEST_IMAGES_H
#define _KX_TEST_IMAGES_H

// Decoders for the committed pictures, independent of the platform's image
// loader: 24-bit BMP read here, JPEG through libjpeg.

#include <string>
#include <vector>

struct TestImage {
	int						   width = 0;
	int						   height = 0;
	std::vector<unsigned char> rgb; // rows from the top

	const unsigned char*
	At(int x, int y) const
	{
		return &rgb[(size_t(y) * width + x) * 3];
	}
};

bool ReadBmp24(const std::string& path, TestImage* image);
bool ReadJpeg(const std::string& path, TestImage* image);

#endif
