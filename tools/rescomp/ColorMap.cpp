#include "ColorMap.h"

#include <fstream>
#include <sstream>

namespace BPrivate {

bool
ColorMap::Load(const char* path, std::string* error)
{
	std::ifstream input(path);
	if (!input) {
		*error = std::string(path)
			+ ": cannot be opened; pass the colour "
			  "map's path with --cmap";
		return false;
	}
	bool		seen[256] = {};
	std::string line;
	int			lineNumber = 0;
	while (std::getline(input, line)) {
		lineNumber++;
		std::istringstream words(line);
		int				   index, red, green, blue;
		if (!(words >> index))
			continue;
		if (!(words >> red >> green >> blue) || index < 0 || index > 255
			|| red < 0 || red > 255 || green < 0 || green > 255 || blue < 0
			|| blue > 255 || seen[index]) {
			*error = std::string(path) + ":" + std::to_string(lineNumber)
				+ ": expected a new 'index red green blue', each 0 to 255";
			return false;
		}
		seen[index] = true;
		fColors[index] = MapColor { uint8(red), uint8(green), uint8(blue) };
	}
	for (int i = 0; i < 256; i++) {
		if (!seen[i]) {
			*error = std::string(path) + ": entry " + std::to_string(i)
				+ " is missing; the map needs all 256";
			return false;
		}
	}
	return true;
}

} // namespace BPrivate
