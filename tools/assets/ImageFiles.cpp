#include "ImageFiles.h"

#include <cstdio>
#include <jpeglib.h>
#include <vector>

namespace {

void
Put16(std::vector<unsigned char>& bytes, unsigned value)
{
	bytes.push_back(value & 0xFF);
	bytes.push_back((value >> 8) & 0xFF);
}

void
Put32(std::vector<unsigned char>& bytes, unsigned value)
{
	Put16(bytes, value & 0xFFFF);
	Put16(bytes, value >> 16);
}

std::string
CannotWrite(const char* path)
{
	return std::string(path)
		+ ": cannot be written; check that its folder "
		  "exists and is writable";
}

} // namespace


bool
WriteBmp(const char* path, const Raster& picture, std::string* error)
{
	const unsigned width = picture.Width(), height = picture.Height();
	const unsigned rowSize = (width * 3 + 3) / 4 * 4;
	const unsigned kHeadersSize = 14 + 40;
	std::vector<unsigned char> file;
	file.push_back('B');
	file.push_back('M');
	Put32(file, kHeadersSize + rowSize * height);
	Put32(file, 0);
	Put32(file, kHeadersSize);
	Put32(file, 40); // BITMAPINFOHEADER
	Put32(file, width);
	Put32(file, height); // positive: bottom-up
	Put16(file, 1);
	Put16(file, 24);
	Put32(file, 0); // no compression
	Put32(file, rowSize * height);
	Put32(file, 2835); // 72 dots per inch
	Put32(file, 2835);
	Put32(file, 0);
	Put32(file, 0);

	const std::vector<unsigned char> rgb = picture.Bytes();
	for (unsigned y = height; y-- > 0;) {
		for (unsigned x = 0; x < width; x++) {
			const unsigned char* pixel = &rgb[(y * width + x) * 3];
			file.push_back(pixel[2]);
			file.push_back(pixel[1]);
			file.push_back(pixel[0]);
		}
		file.resize(file.size() + rowSize - width * 3, 0);
	}

	FILE* output = fopen(path, "wb");
	bool  written = output != nullptr
		&& fwrite(file.data(), 1, file.size(), output) == file.size();
	if (output != nullptr)
		written = fclose(output) == 0 && written;
	if (!written)
		*error = CannotWrite(path);
	return written;
}


bool
WriteJpeg(
	const char* path, const Raster& picture, int quality, std::string* error)
{
	FILE* output = fopen(path, "wb");
	if (output == nullptr) {
		*error = CannotWrite(path);
		return false;
	}
	jpeg_compress_struct info;
	jpeg_error_mgr		 errors;
	info.err = jpeg_std_error(&errors);
	jpeg_create_compress(&info);
	jpeg_stdio_dest(&info, output);
	info.image_width = picture.Width();
	info.image_height = picture.Height();
	info.input_components = 3;
	info.in_color_space = JCS_RGB;
	jpeg_set_defaults(&info);
	jpeg_set_quality(&info, quality, TRUE);
	for (int i = 0; i < info.num_components; i++) {
		info.comp_info[i].h_samp_factor = 1;
		info.comp_info[i].v_samp_factor = 1;
	}
	jpeg_start_compress(&info, TRUE);
	std::vector<unsigned char> rgb = picture.Bytes();
	while (info.next_scanline < info.image_height) {
		JSAMPROW row = &rgb[size_t(info.next_scanline) * picture.Width() * 3];
		jpeg_write_scanlines(&info, &row, 1);
	}
	jpeg_finish_compress(&info);
	jpeg_destroy_compress(&info);
	if (fclose(output) != 0) {
		*error = CannotWrite(path);
		return false;
	}
	return true;
}
