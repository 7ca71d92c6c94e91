#ifndef _KX_FONT_FACE_H
#define _KX_FONT_FACE_H

// One font file opened at one pixel size, shared by every BFont that asks
// for it. The font library is not safe to call from several threads, and
// every window draws on its own thread, so all calls into it go through one
// lock held inside this class.

#include <Font.h>
#include <SupportDefs.h>

#include <map>
#include <string>
#include <vector>

struct FT_FaceRec_;

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
	explicit FontFace(FT_FaceRec_* face);
	// Opens or finds a cached face; the caller holds the font lock.
	static FontFace* _LoadLocked(const std::string& file, float size);
	// Lays the text out glyph by glyph; with a coverage image, also draws
	// it. Returns the width in pixels; the caller holds the font lock.
	int32 _Layout(const char* text, TextCoverage* coverage, int32* inkBottom);

	// Where a glyph's ink lies against the pen and how far the pen moves:
	// all that measuring needs, kept so that a text measured again (the
	// controls measure theirs while they are laid out) is not drawn again.
	struct GlyphBox {
		int32 left;
		int32 top;
		int32 width;
		int32 rows;
		int32 advance;
		bool  ink;
	};

	FT_FaceRec_*			   fFace;
	std::map<uint32, GlyphBox> fBoxes;
	// The deepest descender's depth below the baseline, once measured.
	int32					   fInkDescent = -1;
	// Whole pixels: above and below the baseline, the height of the box
	// both make, and the distance from one line's baseline to the next.
	int32					   fAscent;
	int32					   fDescent;
	int32					   fHeight;
	int32					   fLineSkip;
};

} // namespace BPrivate

#endif
