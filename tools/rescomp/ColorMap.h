#ifndef _KX_COLOR_MAP_H
#define _KX_COLOR_MAP_H

// The system's 256-entry colour map, read from its text form: one line
// "index red green blue" per entry.

#include <SupportDefs.h>

#include <string>

namespace BPrivate {

struct MapColor {
	uint8 red;
	uint8 green;
	uint8 blue;
};

class ColorMap {
public:
	bool Load(const char* path, std::string* error);
	const MapColor&
	ColorAt(uint8 index) const
	{
		return fColors[index];
	}

private:
	MapColor fColors[256];
};

} // namespace BPrivate

#endif
