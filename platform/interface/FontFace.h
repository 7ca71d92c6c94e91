#ifndef _KX_FONT_FACE_H
#define _KX_FONT_FACE_H

// One font file opened at one pixel size, shared by every BFont that asks
// for it. The text library is not safe to call from several threads, and
// every window draws on its own thread, so all calls into it go through one
// lock held inside this class.

#include <Font.h>
#include <SupportDefs.h>

#include <string>
#include <vector>

struct _TTF_Font;

namespace BPrivate {

// Anti-aliased text as an 8-bit coverage image, one byte a pixel, rows of
// `width` bytes; the baseline lies `ascent` rows below the top row.
struct TextCoverage {
	std::vector<uint8> alpha;
	int32			   width = 0;
	int32			   height = 0;
	int32			   ascent = 0;
};

class FontFace {
public:
	// The desktop's sans-serif face (bold or plain) at a size in pixels,
	// opened once and kept for the life of the program; null when no font
	// file can be found or opened.
	static FontFace*   Default(bool bold, float size);
	// The face of one font file; null when it cannot be opened.
	static FontFace*   Load(const char* file, float size);
	// The known file when it can be read, else the file fontconfig
	// chooses for the pattern (such as "sans-serif:bold"); empty when
	// neither gives one.
	static std::string FindFile(const char* knownFile, const char* pattern);

	float			   StringWidth(const char* text);
	void			   GetHeight(font_height* height);
	// False when there is nothing to draw (empty text, an error).
	bool			   Render(const char* text, TextCoverage* coverage);

private:
	explicit FontFace(_TTF_Font* font);
	// Opens or finds a cached face; the caller holds the text lock.
	static FontFace* _LoadLocked(const std::string& file, float size);

	_TTF_Font*		 fFont;
};

} // namespace BPrivate

#endif
