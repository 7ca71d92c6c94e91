#ifndef _GRAPHICS_DEFS_H
#define _GRAPHICS_DEFS_H

#include <SupportDefs.h>

struct rgb_color {
	uint8 red;
	uint8 green;
	uint8 blue;
	uint8 alpha;

	bool
	operator==(const rgb_color& o) const
	{
		return red == o.red && green == o.green && blue == o.blue
			&& alpha == o.alpha;
	}
	bool
	operator!=(const rgb_color& o) const
	{
		return !(*this == o);
	}
};

inline rgb_color
make_color(uint8 r, uint8 g, uint8 b, uint8 a = 255)
{
	return rgb_color { r, g, b, a };
}

const rgb_color B_TRANSPARENT_COLOR = { 0x77, 0x74, 0x77, 0x00 };
const rgb_color B_TRANSPARENT_32_BIT = { 0x77, 0x74, 0x77, 0x00 };
const uint32	B_TRANSPARENT_MAGIC_RGBA32 = 0x00777477;
const uint8		B_TRANSPARENT_MAGIC_CMAP8 = 0xff;

enum color_space {
	B_NO_COLOR_SPACE = 0x0000,
	B_GRAY8 = 0x0002,
	B_CMAP8 = 0x0004,
	B_RGB32 = 0x0008,
	B_RGBA32 = 0x2008,
	B_RGB32_BIG = 0x1008,
	B_RGBA32_BIG = 0x3008,
};

struct pattern {
	uint8 data[8];
};

const pattern B_SOLID_HIGH = { { 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
	0xff } };
const pattern B_SOLID_LOW = { { 0, 0, 0, 0, 0, 0, 0, 0 } };
const pattern B_MIXED_COLORS = { { 0xaa, 0x55, 0xaa, 0x55, 0xaa, 0x55, 0xaa,
	0x55 } };

enum drawing_mode {
	B_OP_COPY,
	B_OP_OVER,
	B_OP_ERASE,
	B_OP_INVERT,
	B_OP_ADD,
	B_OP_SUBTRACT,
	B_OP_BLEND,
	B_OP_MIN,
	B_OP_MAX,
	B_OP_SELECT,
	B_OP_ALPHA,
};

enum source_alpha {
	B_PIXEL_ALPHA = 0,
	B_CONSTANT_ALPHA = 1,
};

enum alpha_function {
	B_ALPHA_OVERLAY = 0,
	B_ALPHA_COMPOSITE = 1,
};

#endif
