#include "translation/ImageSize.h"

#include <cstring>

namespace BPrivate {

namespace {

uint32
BigEndian16(const uint8* p)
{
	return (uint32)p[0] << 8 | p[1];
}

uint32
BigEndian32(const uint8* p)
{
	return (uint32)p[0] << 24 | (uint32)p[1] << 16 | (uint32)p[2] << 8 | p[3];
}

uint32
LittleEndian16(const uint8* p)
{
	return (uint32)p[1] << 8 | p[0];
}

uint32
LittleEndian32(const uint8* p)
{
	return (uint32)p[3] << 24 | (uint32)p[2] << 16 | (uint32)p[1] << 8 | p[0];
}

image_size_result
Found(int64 w, int64 h, int64* width, int64* height)
{
	*width = w;
	*height = h;
	return IMAGE_SIZE_FOUND;
}

image_size_result
PeekPNG(const uint8* data, size_t length, int64* width, int64* height)
{
	// The first chunk is IHDR: length, type, then width and height.
	if (length < 24 || memcmp(data + 12, "IHDR", 4) != 0)
		return IMAGE_SIZE_CORRUPT;
	return Found(BigEndian32(data + 16), BigEndian32(data + 20), width, height);
}

image_size_result
PeekBMP(const uint8* data, size_t length, int64* width, int64* height)
{
	if (length < 26)
		return IMAGE_SIZE_CORRUPT;
	uint32 headerSize = LittleEndian32(data + 14);
	if (headerSize == 12)
		return Found(LittleEndian16(data + 18), LittleEndian16(data + 20),
			width, height);
	// Newer headers hold signed sizes; a negative height means top-down rows.
	int64 w = (int32)LittleEndian32(data + 18);
	int64 h = (int32)LittleEndian32(data + 22);
	return Found(w < 0 ? -w : w, h < 0 ? -h : h, width, height);
}

// Skips the colour table that the flags byte announces, if any.
size_t
SkipColorTable(size_t at, uint8 flags)
{
	return (flags & 0x80) != 0 ? at + 3 * ((size_t)2 << (flags & 0x07)) : at;
}

image_size_result
PeekGIF(const uint8* data, size_t length, int64* width, int64* height)
{
	// The decoder sizes the picture by its first image, which may be larger
	// than the screen declared in front of it: walk the extension blocks to
	// that image's descriptor and take the larger of both.
	if (length < 13)
		return IMAGE_SIZE_CORRUPT;
	int64  w = LittleEndian16(data + 6);
	int64  h = LittleEndian16(data + 8);
	size_t at = SkipColorTable(13, data[10]);
	while (at < length) {
		if (data[at] == 0x2c) {
			if (at + 10 > length)
				return IMAGE_SIZE_CORRUPT;
			int64 frameWidth = LittleEndian16(data + at + 5);
			int64 frameHeight = LittleEndian16(data + at + 7);
			return Found(frameWidth > w ? frameWidth : w,
				frameHeight > h ? frameHeight : h, width, height);
		}
		if (data[at] != 0x21 || at + 2 > length)
			return IMAGE_SIZE_CORRUPT;
		// An extension: its label, then sub-blocks up to an empty one.
		at += 2;
		while (at < length && data[at] != 0)
			at += 1 + (size_t)data[at];
		at++;
	}
	return IMAGE_SIZE_CORRUPT;
}

image_size_result
PeekJPEG(const uint8* data, size_t length, int64* width, int64* height)
{
	// Walk the marker segments up to the frame header (SOF0 to SOF15, but
	// not DHT, JPG or DAC, which share that range).
	size_t at = 2;
	while (at + 4 <= length) {
		if (data[at] != 0xff)
			return IMAGE_SIZE_CORRUPT;
		uint8 marker = data[at + 1];
		if (marker == 0xff) {
			at++;
			continue;
		}
		if (marker == 0x01 || (marker >= 0xd0 && marker <= 0xd7)) {
			at += 2;
			continue;
		}
		if (marker == 0xd9 || marker == 0xda)
			return IMAGE_SIZE_CORRUPT;
		uint32 segment = BigEndian16(data + at + 2);
		if (segment < 2)
			return IMAGE_SIZE_CORRUPT;
		bool frame = marker >= 0xc0 && marker <= 0xcf && marker != 0xc4
			&& marker != 0xc8 && marker != 0xcc;
		if (frame) {
			if (at + 9 > length)
				return IMAGE_SIZE_CORRUPT;
			return Found(BigEndian16(data + at + 7), BigEndian16(data + at + 5),
				width, height);
		}
		at += 2 + segment;
	}
	return IMAGE_SIZE_CORRUPT;
}

} // namespace


image_size_result
PeekImageSize(const uint8* data, size_t length, int64* width, int64* height,
	const char** format)
{
	static const uint8 kPNG[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a,
		'\n' };
	const char*		   found = nullptr;
	image_size_result  result = IMAGE_SIZE_UNKNOWN;
	if (length >= 8 && memcmp(data, kPNG, 8) == 0) {
		found = "PNG";
		result = PeekPNG(data, length, width, height);
	} else if (length >= 2 && data[0] == 'B' && data[1] == 'M') {
		found = "BMP";
		result = PeekBMP(data, length, width, height);
	} else if (length >= 4 && memcmp(data, "GIF8", 4) == 0) {
		found = "GIF";
		result = PeekGIF(data, length, width, height);
	} else if (length >= 3 && data[0] == 0xff && data[1] == 0xd8
		&& data[2] == 0xff) {
		found = "JPG";
		result = PeekJPEG(data, length, width, height);
	}
	if (format != nullptr)
		*format = found;
	return result;
}

} // namespace BPrivate
