#ifndef _KX_RASTER_H
#define _KX_RASTER_H

// An RGB picture in floating point, 0 to 255 a channel, so that layers can
// be blended before the one rounding at the end.

#include <vector>

struct RGB {
	float red;
	float green;
	float blue;
};

inline RGB
Mix(const RGB& from, const RGB& to, float amount)
{
	return RGB { from.red + (to.red - from.red) * amount,
		from.green + (to.green - from.green) * amount,
		from.blue + (to.blue - from.blue) * amount };
}

inline RGB
Scale(const RGB& color, float factor)
{
	return RGB { color.red * factor, color.green * factor,
		color.blue * factor };
}

class Raster {
public:
	Raster(int width, int height, RGB fill);

	int
	Width() const
	{
		return fWidth;
	}
	int
	Height() const
	{
		return fHeight;
	}
	RGB&
	At(int x, int y)
	{
		return fPixels[y * fWidth + x];
	}
	const RGB&
	At(int x, int y) const
	{
		return fPixels[y * fWidth + x];
	}

	// Channels rounded and clamped to bytes, rows from the top, R G B.
	std::vector<unsigned char> Bytes() const;

private:
	int				 fWidth;
	int				 fHeight;
	std::vector<RGB> fPixels;
};

#endif
