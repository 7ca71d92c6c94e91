#include <Font.h>

#include "interface/FontFace.h"

namespace {

// The system's default text size, in pixels.
const float kDefaultSize = 12;

// The bold system font differs from the plain one only in its weight.
BFont
MakeBoldFont()
{
	BFont font;
	font.SetBold(true);
	return font;
}

BFont sPlainFont;
BFont sBoldFont = MakeBoldFont();

} // namespace

const BFont* be_plain_font = &sPlainFont;
const BFont* be_bold_font = &sBoldFont;


BFont::BFont() :
	fSize(kDefaultSize),
	fBold(false)
{ }


BFont::BFont(const BFont* font) :
	fSize(font != nullptr ? font->fSize : kDefaultSize),
	fBold(font != nullptr ? font->fBold : false)
{ }


void
BFont::SetSize(float size)
{
	fSize = size;
}


float
BFont::Size() const
{
	return fSize;
}


void
BFont::SetBold(bool bold)
{
	fBold = bold;
}


bool
BFont::IsBold() const
{
	return fBold;
}


float
BFont::StringWidth(const char* text) const
{
	BPrivate::FontFace* face = Face();
	return face != nullptr ? face->StringWidth(text) : 0;
}


void
BFont::GetHeight(font_height* height) const
{
	if (height == nullptr)
		return;
	BPrivate::FontFace* face = Face();
	if (face == nullptr) {
		*height = font_height { 0, 0, 0 };
		return;
	}
	face->GetHeight(height);
}


BPrivate::FontFace*
BFont::Face() const
{
	return BPrivate::FontFace::Default(fBold, fSize);
}
