#ifndef _TRANSLATION_UTILS_H
#define _TRANSLATION_UTILS_H

#include <Bitmap.h>

class BTranslationUtils {
public:
	// Decodes an image file (JPEG, BMP, PNG and the other formats the
	// platform reads) into a new B_RGB32 bitmap that the caller owns. A
	// relative path is taken from the current working directory and, when
	// it cannot be loaded from there, from the application's data folder
	// (B_APP_DATA_DIRECTORY). A missing, unreadable or corrupt file gives
	// null.
	static BBitmap* GetBitmap(const char* path);
};

#endif
