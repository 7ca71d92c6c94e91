#ifndef _KX_IMAGE_FILES_H
#define _KX_IMAGE_FILES_H

// Writes pictures as the two file formats the game loads.

#include "Raster.h"

#include <string>

// An uncompressed 24-bit BMP, rows stored bottom-up and padded to 4 bytes.
bool WriteBmp(const char* path, const Raster& picture, std::string* error);

// A baseline JPEG without chroma subsampling, so small coloured details
// keep their colour.
bool WriteJpeg(
	const char* path, const Raster& picture, int quality, std::string* error);

#endif
