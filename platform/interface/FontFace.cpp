#include "interface/FontFace.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace BPrivate {

namespace {

// Guards the font library, its one-time start and the caches below.
std::mutex										  sLock;
bool											  sStarted = false;
FT_Library										  sLibrary = nullptr;
// Faces stay open for the life of the process; the cache itself is never
// destroyed, so that nothing drawing late at exit finds it gone.
std::map<std::pair<std::string, int>, FontFace*>& sFaces =
	*new std::map<std::pair<std::string, int>, FontFace*>;

bool
StartLocked()
{
	if (!sStarted) {
		sStarted = true;
		if (FT_Init_FreeType(&sLibrary) != 0)
			sLibrary = nullptr;
	}
	return sLibrary != nullptr;
}

// What a character that cannot be read from the text is drawn as.
const uint32 kReplacement = 0xfffd;

// The next character of UTF-8 text, moving the text past it. A byte that
// does not begin a well-formed sequence (a stray continuation byte, a
// sequence cut short, an overlong form, a surrogate, anything past
// U+10FFFF) stands for one replacement character and only that byte is
// skipped, so that the rest of the text still shows.
uint32
NextCharacter(const char** text)
{
	const uint8* bytes = (const uint8*)*text;
	uint32		 character = bytes[0];
	int32		 length = 1;
	uint32		 least = 0;
	if (character < 0x80) {
		*text += 1;
		return character;
	}
	if ((character & 0xe0) == 0xc0) {
		length = 2;
		character &= 0x1f;
		least = 0x80;
	} else if ((character & 0xf0) == 0xe0) {
		length = 3;
		character &= 0x0f;
		least = 0x800;
	} else if ((character & 0xf8) == 0xf0) {
		length = 4;
		character &= 0x07;
		least = 0x10000;
	} else {
		*text += 1;
		return kReplacement;
	}
	// The terminating zero is no continuation byte, so this never reads
	// past the end of the text.
	for (int32 i = 1; i < length; i++) {
		if ((bytes[i] & 0xc0) != 0x80) {
			*text += 1;
			return kReplacement;
		}
		character = character << 6 | (bytes[i] & 0x3f);
	}
	if (character < least || character > 0x10ffff
		|| (character >= 0xd800 && character <= 0xdfff)) {
		*text += 1;
		return kReplacement;
	}
	*text += length;
	return character;
}

// The library reads the font file through this, a piece at a time, instead
// of mapping the whole file: only the tables and glyphs that are used take
// memory. A count of zero asks whether the offset can be reached.
unsigned long
ReadFont(FT_Stream stream, unsigned long offset, unsigned char* buffer,
	unsigned long count)
{
	if (count == 0)
		return offset > stream->size ? 1 : 0;
	unsigned long got = 0;
	while (got < count) {
		ssize_t read = pread((int)stream->descriptor.value, buffer + got,
			count - got, (off_t)(offset + got));
		if (read < 0 && errno == EINTR)
			continue;
		if (read <= 0)
			break;
		got += (unsigned long)read;
	}
	return got;
}

void
CloseFont(FT_Stream stream)
{
	close((int)stream->descriptor.value);
	delete stream;
}

// Opens the first face of a font file; false if it is no font or cannot be
// read.
bool
OpenFace(const std::string& file, FT_Face* face)
{
	int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
	if (fd < 0)
		return false;
	struct stat info;
	if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
		close(fd);
		return false;
	}
	FT_Stream stream = new FT_StreamRec();
	stream->size = (unsigned long)info.st_size;
	stream->descriptor.value = fd;
	stream->read = ReadFont;
	stream->close = CloseFont;
	FT_Open_Args arguments = {};
	arguments.flags = FT_OPEN_STREAM;
	arguments.stream = stream;
	// The library closes the stream when the face fails to open, too.
	return FT_Open_Face(sLibrary, &arguments, 0, face) == 0;
}

// Whole pixels from the library's 26.6 fixed point, rounded up.
int32
CeilPixels(FT_Pos value)
{
	return (int32)((value + 63) & -64) / 64;
}

// The sans-serif faces that the package depends on. Opening them by name
// spares fontconfig's start, which reads its whole configuration and font
// caches and costs more memory than the rest of the game's start.
const char* const kPlainFile =
	"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kBoldFile =
	"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// fontconfig is opened only when a packaged face is missing: the usual start
// never needs it, and a linked library would cost its pages at every start.
struct FontconfigCalls {
	decltype(&FcInit)			   init;
	decltype(&FcNameParse)		   nameParse;
	decltype(&FcConfigSubstitute)  configSubstitute;
	decltype(&FcDefaultSubstitute) defaultSubstitute;
	decltype(&FcFontMatch)		   fontMatch;
	decltype(&FcPatternGetString)  patternGetString;
	decltype(&FcPatternDestroy)	   patternDestroy;
};

template <typename Function>
bool
FindCall(void* library, const char* name, Function* function)
{
	*function = reinterpret_cast<Function>(dlsym(library, name));
	return *function != nullptr;
}

// Null when the library or one of its calls cannot be found. The library
// stays loaded for the life of the process.
const FontconfigCalls*
LoadFontconfig()
{
	void* library = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
	if (library == nullptr)
		return nullptr;
	static FontconfigCalls calls;
	if (!FindCall(library, "FcInit", &calls.init)
		|| !FindCall(library, "FcNameParse", &calls.nameParse)
		|| !FindCall(library, "FcConfigSubstitute", &calls.configSubstitute)
		|| !FindCall(library, "FcDefaultSubstitute", &calls.defaultSubstitute)
		|| !FindCall(library, "FcFontMatch", &calls.fontMatch)
		|| !FindCall(library, "FcPatternGetString", &calls.patternGetString)
		|| !FindCall(library, "FcPatternDestroy", &calls.patternDestroy))
		return nullptr;
	return &calls;
}

// Asks fontconfig which file the desktop uses for a pattern such as
// "sans-serif:bold"; empty when it knows none.
std::string
MatchFontFile(const char* name)
{
	static const FontconfigCalls* const fc = LoadFontconfig();
	std::string							file;
	if (fc == nullptr || !fc->init())
		return file;
	FcPattern* pattern = fc->nameParse((const FcChar8*)name);
	if (pattern == nullptr)
		return file;
	fc->configSubstitute(nullptr, pattern, FcMatchPattern);
	fc->defaultSubstitute(pattern);
	FcResult   result = FcResultNoMatch;
	FcPattern* match = fc->fontMatch(nullptr, pattern, &result);
	if (match != nullptr) {
		FcChar8* path = nullptr;
		if (fc->patternGetString(match, FC_FILE, 0, &path) == FcResultMatch
			&& path != nullptr)
			file = (const char*)path;
		fc->patternDestroy(match);
	}
	fc->patternDestroy(pattern);
	return file;
}

// Text sizes are whole pixels; absurd sizes are held to a sane range.
int
PixelSize(float size)
{
	if (!(size >= 1))
		return 1;
	if (size > 1000)
		return 1000;
	return (int)std::lround(size);
}

} // namespace


FontFace::FontFace(FT_FaceRec_* face) :
	fFace(face)
{
	// The face's design units scaled to the chosen size; the descent is
	// counted downwards and kept positive here.
	FT_Fixed scale = face->size->metrics.y_scale;
	fAscent = CeilPixels(FT_MulFix(face->ascender, scale));
	fDescent = -CeilPixels(FT_MulFix(face->descender, scale));
	fHeight = CeilPixels(FT_MulFix(face->ascender - face->descender, scale));
	fLineSkip = CeilPixels(FT_MulFix(face->height, scale));
}


FontFace*
FontFace::_LoadLocked(const std::string& file, float size)
{
	if (file.empty() || !StartLocked())
		return nullptr;
	std::pair<std::string, int> key(file, PixelSize(size));
	auto						found = sFaces.find(key);
	if (found != sFaces.end())
		return found->second;
	// A file that fails to open is remembered as null, not retried. Only
	// outline fonts are taken: they scale to any size asked for.
	FT_Face	  font = nullptr;
	FontFace* face = nullptr;
	if (OpenFace(file, &font)) {
		if (FT_IS_SCALABLE(font)
			&& FT_Set_Pixel_Sizes(font, 0, key.second) == 0)
			face = new FontFace(font);
		else
			FT_Done_Face(font);
	}
	sFaces[key] = face;
	return face;
}


std::string
FontFace::FindFile(const char* knownFile, const char* pattern)
{
	if (knownFile != nullptr && access(knownFile, R_OK) == 0)
		return knownFile;
	return MatchFontFile(pattern);
}


FontFace*
FontFace::Default(bool bold, float size)
{
	std::lock_guard<std::mutex> guard(sLock);
	static const std::string	plainFile = FindFile(kPlainFile, "sans-serif");
	static const std::string boldFile = FindFile(kBoldFile, "sans-serif:bold");
	return _LoadLocked(bold ? boldFile : plainFile, size);
}


FontFace*
FontFace::Load(const char* file, float size)
{
	if (file == nullptr)
		return nullptr;
	std::lock_guard<std::mutex> guard(sLock);
	return _LoadLocked(file, size);
}


int32
FontFace::_Layout(const char* text, TextCoverage* coverage, int32* inkBottom)
{
	// Each glyph's coverage and where it lies: columns from the pen's
	// start, rows from the line's top, which is fAscent above the baseline.
	struct Glyph {
		int32			   left;
		int32			   top;
		int32			   width;
		int32			   rows;
		std::vector<uint8> alpha;
	};
	std::vector<Glyph> glyphs;
	// The box spans at least the pen's way and the line's height, and
	// grows to take in ink that reaches past either.
	int32			   minX = 0;
	int32			   maxX = 0;
	int32			   minY = 0;
	int32			   maxY = fHeight;
	FT_Pos			   pen = 0;
	FT_UInt			   previous = 0;
	while (*text != '\0') {
		FT_UInt	  index = FT_Get_Char_Index(fFace, NextCharacter(&text));
		FT_Vector kerning;
		if (previous != 0 && index != 0 && FT_HAS_KERNING(fFace)
			&& FT_Get_Kerning(
				   fFace, previous, index, FT_KERNING_DEFAULT, &kerning)
				== 0)
			pen += kerning.x;
		previous = index;
		// Measuring alone needs no new drawing of a glyph measured before.
		auto known = coverage == nullptr ? fBoxes.find(index) : fBoxes.end();
		GlyphBox box;
		if (known != fBoxes.end()) {
			box = known->second;
		} else {
			if (FT_Load_Glyph(fFace, index, FT_LOAD_DEFAULT) != 0
				|| FT_Render_Glyph(fFace->glyph, FT_RENDER_MODE_NORMAL) != 0)
				continue;
			FT_GlyphSlot	 slot = fFace->glyph;
			const FT_Bitmap& bitmap = slot->bitmap;
			box = { slot->bitmap_left, fAscent - slot->bitmap_top,
				(int32)bitmap.width, (int32)bitmap.rows, (int32)slot->advance.x,
				bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.pitch >= 0
					&& bitmap.width > 0 && bitmap.rows > 0 };
			fBoxes[index] = box;
		}
		Glyph glyph;
		glyph.left = (int32)(pen >> 6) + box.left;
		glyph.top = box.top;
		glyph.width = box.width;
		glyph.rows = box.rows;
		pen += box.advance;
		if (!box.ink)
			continue;
		minX = std::min(minX, glyph.left);
		maxX = std::max(maxX, glyph.left + glyph.width);
		minY = std::min(minY, glyph.top);
		maxY = std::max(maxY, glyph.top + glyph.rows);
		if (coverage == nullptr)
			continue;
		const FT_Bitmap& bitmap = fFace->glyph->bitmap;
		glyph.alpha.resize((size_t)glyph.width * glyph.rows);
		for (int32 row = 0; row < glyph.rows; row++) {
			memcpy(glyph.alpha.data() + (size_t)row * glyph.width,
				bitmap.buffer + (size_t)row * bitmap.pitch, glyph.width);
		}
		glyphs.push_back(std::move(glyph));
	}
	maxX = std::max(maxX, CeilPixels(pen));
	if (inkBottom != nullptr)
		*inkBottom = maxY;
	int32 width = maxX - minX;
	if (coverage == nullptr)
		return width;

	// Ink left of the pen's start or above the line moves the whole image,
	// so that none of it is cut off.
	coverage->width = width;
	coverage->height = maxY - minY;
	coverage->ascent = fAscent - minY;
	coverage->alpha.assign((size_t)coverage->width * coverage->height, 0);
	for (const Glyph& glyph : glyphs) {
		for (int32 row = 0; row < glyph.rows; row++) {
			uint8* line = coverage->alpha.data()
				+ (size_t)(glyph.top - minY + row) * coverage->width
				+ (glyph.left - minX);
			const uint8* source =
				glyph.alpha.data() + (size_t)row * glyph.width;
			// Neighbouring glyphs may overlap; the denser ink wins.
			for (int32 column = 0; column < glyph.width; column++)
				line[column] = std::max(line[column], source[column]);
		}
	}
	return width;
}


float
FontFace::StringWidth(const char* text)
{
	if (text == nullptr || text[0] == '\0')
		return 0;
	std::lock_guard<std::mutex> guard(sLock);
	return (float)_Layout(text, nullptr, nullptr);
}


void
FontFace::GetHeight(font_height* height)
{
	if (height == nullptr)
		return;
	std::lock_guard<std::mutex> guard(sLock);
	// At small sizes the rounded descent can be a pixel short of where the
	// descenders really reach, which would cut them off, so the deepest
	// ones are measured as well, once.
	if (fInkDescent < 0) {
		int32 inkBottom = 0;
		_Layout("gjpqy", nullptr, &inkBottom);
		fInkDescent = std::max(0, inkBottom - fAscent);
	}
	int32 descent = std::max(fDescent, fInkDescent);
	int32 leading = fLineSkip - fAscent - descent;
	height->ascent = (float)fAscent;
	height->descent = (float)descent;
	height->leading = (float)(leading > 0 ? leading : 0);
}


bool
FontFace::Render(const char* text, TextCoverage* coverage)
{
	if (text == nullptr || text[0] == '\0' || coverage == nullptr)
		return false;
	std::lock_guard<std::mutex> guard(sLock);
	_Layout(text, coverage, nullptr);
	return coverage->width > 0 && coverage->height > 0;
}

} // namespace BPrivate
