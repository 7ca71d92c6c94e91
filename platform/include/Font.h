#ifndef _FONT_H
#define _FONT_H

#include <SupportDefs.h>

struct font_height {
	float ascent;
	float descent;
	float leading;
};

namespace BPrivate {
class FontFace;
}

// A font taken from the system through fontconfig: the plain face is the
// desktop's sans-serif, the bold face its bold variant.
class BFont {
public:
	BFont();
	BFont(const BFont* font);

	void				SetSize(float size);
	float				Size() const;
	void				SetBold(bool bold);
	bool				IsBold() const;

	float				StringWidth(const char* text) const;
	void				GetHeight(font_height* height) const;

	// The face behind the font, for the renderer; null when no font file
	// could be found on the system.
	BPrivate::FontFace* Face() const;

private:
	float fSize;
	bool  fBold;
};

extern const BFont* be_plain_font;
extern const BFont* be_bold_font;

#endif
