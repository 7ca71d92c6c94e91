#include "TestImages.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <jpeglib.h>

namespace {

unsigned
Le(const std::vector<unsigned char>& bytes, size_t at, int width)
{
	unsigned value = 0;
	for (int i = width - 1; i >= 0; i--)
		value = value * 256 + bytes[at + i];
	return value;
}

} // namespace


bool
ReadBmp24(const std::string& path, TestImage* image)
{
	std::ifstream			   input(path, std::ios::binary);
	std::vector<unsigned char> file((std::istreambuf_iterator<char>(input)),
		std::istreambuf_iterator<char>());
	if (file.size() < 54 || file[0] != 'B' || file[1] != 'M'
		|| Le(file, 26, 2) != 1 || Le(file, 28, 2) != 24
		|| Le(file, 30, 4) != 0)
		return false;
	const unsigned offset = Le(file, 10, 4);
	const int	   width = int(Le(file, 18, 4));
	const int	   height = int(Le(file, 22, 4)); // bottom-up when positive
	if (width <= 0 || height <= 0 || width > 4096 || height > 4096)
		return false;
	const size_t rowSize = (size_t(width) * 3 + 3) / 4 * 4;
	if (offset + rowSize * height > file.size())
		return false;
	image->width = width;
	image->height = height;
	image->rgb.resize(size_t(width) * height * 3);
	for (int y = 0; y < height; y++) {
		const unsigned char* row = &file[offset + rowSize * (height - 1 - y)];
		for (int x = 0; x < width; x++) {
			unsigned char* out = &image->rgb[(size_t(y) * width + x) * 3];
			out[0] = row[x * 3 + 2];
			out[1] = row[x * 3 + 1];
			out[2] = row[x * 3];
		}
	}
	return true;
}


bool
ReadJpeg(const std::string& path, TestImage* image)
{
	FILE* input = fopen(path.c_str(), "rb");
	if (input == nullptr)
		return false;
	jpeg_decompress_struct info;
	jpeg_error_mgr		   errors;
	info.err = jpeg_std_error(&errors);
	jpeg_create_decompress(&info);
	jpeg_stdio_src(&info, input);
	jpeg_read_header(&info, TRUE);
	info.out_color_space = JCS_RGB;
	jpeg_start_decompress(&info);
	image->width = info.output_width;
	image->height = info.output_height;
	image->rgb.resize(size_t(image->width) * image->height * 3);
	while (info.output_scanline < info.output_height) {
		JSAMPROW row =
			&image->rgb[size_t(info.output_scanline) * image->width * 3];
		jpeg_read_scanlines(&info, &row, 1);
	}
	jpeg_finish_decompress(&info);
	jpeg_destroy_decompress(&info);
	fclose(input);
	return true;
}
