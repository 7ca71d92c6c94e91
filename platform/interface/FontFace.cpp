#include "interface/FontFace.h"

#include <SDL2/SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <unistd.h>

#include <cmath>
#include <cstring>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace BPrivate {

namespace {

// Guards the text library, its one-time start and the caches below.
std::mutex										  sLock;
bool											  sStarted = false;
bool											  sUsable = false;
// Faces stay open for the life of the process; the cache itself is never
// destroyed, so that nothing drawing late at exit finds it gone.
std::map<std::pair<std::string, int>, FontFace*>& sFaces =
	*new std::map<std::pair<std::string, int>, FontFace*>;

bool
StartLocked()
{
	if (!sStarted) {
		sStarted = true;
		sUsable = TTF_WasInit() > 0 || TTF_Init() == 0;
	}
	return sUsable;
}

// The sans-serif faces that the package depends on. Opening them by name
// spares fontconfig's start, which reads its whole configuration and font
// caches and costs more memory than the rest of the game's start.
const char* const kPlainFile =
	"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kBoldFile =
	"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Asks fontconfig which file the desktop uses for a pattern such as
// "sans-serif:bold"; empty when it knows none.
std::string
MatchFontFile(const char* name)
{
	std::string file;
	if (!FcInit())
		return file;
	FcPattern* pattern = FcNameParse((const FcChar8*)name);
	if (pattern == nullptr)
		return file;
	FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
	FcDefaultSubstitute(pattern);
	FcResult   result = FcResultNoMatch;
	FcPattern* match = FcFontMatch(nullptr, pattern, &result);
	if (match != nullptr) {
		FcChar8* path = nullptr;
		if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch
			&& path != nullptr)
			file = (const char*)path;
		FcPatternDestroy(match);
	}
	FcPatternDestroy(pattern);
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


FontFace::FontFace(_TTF_Font* font) :
	fFont(font)
{ }


FontFace*
FontFace::_LoadLocked(const std::string& file, float size)
{
	if (file.empty() || !StartLocked())
		return nullptr;
	std::pair<std::string, int> key(file, PixelSize(size));
	auto						found = sFaces.find(key);
	if (found != sFaces.end())
		return found->second;
	// A file that fails to open is remembered as null, not retried.
	TTF_Font* font = TTF_OpenFont(file.c_str(), key.second);
	FontFace* face = font != nullptr ? new FontFace(font) : nullptr;
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


float
FontFace::StringWidth(const char* text)
{
	if (text == nullptr || text[0] == '\0')
		return 0;
	std::lock_guard<std::mutex> guard(sLock);
	int							width = 0;
	int							height = 0;
	if (TTF_SizeUTF8(fFont, text, &width, &height) != 0)
		return 0;
	return (float)width;
}


void
FontFace::GetHeight(font_height* height)
{
	if (height == nullptr)
		return;
	std::lock_guard<std::mutex> guard(sLock);
	int							ascent = TTF_FontAscent(fFont);
	// The library counts the descent downwards as negative. At small sizes
	// the rounded figure can be a pixel short of where the descenders
	// really reach, which would cut them off, so the deepest ones are
	// measured as well.
	int							descent = -TTF_FontDescent(fFont);
	int							width = 0;
	int							boxHeight = 0;
	if (TTF_SizeUTF8(fFont, "gjpqy", &width, &boxHeight) == 0
		&& boxHeight - ascent > descent)
		descent = boxHeight - ascent;
	int leading = TTF_FontLineSkip(fFont) - ascent - descent;
	height->ascent = (float)ascent;
	height->descent = (float)descent;
	height->leading = (float)(leading > 0 ? leading : 0);
}


bool
FontFace::Render(const char* text, TextCoverage* coverage)
{
	if (text == nullptr || text[0] == '\0' || coverage == nullptr)
		return false;
	std::lock_guard<std::mutex> guard(sLock);
	// White text on nothing: the alpha channel is the glyphs' coverage.
	SDL_Surface*				surface =
		TTF_RenderUTF8_Blended(fFont, text, SDL_Color { 255, 255, 255, 255 });
	if (surface == nullptr)
		return false;

	bool				   drawn = false;
	const SDL_PixelFormat* format = surface->format;
	if (format->BytesPerPixel == 4 && format->Amask != 0
		&& SDL_LockSurface(surface) == 0) {
		coverage->width = surface->w;
		coverage->height = surface->h;
		coverage->ascent = TTF_FontAscent(fFont);
		coverage->alpha.assign((size_t)surface->w * surface->h, 0);
		for (int y = 0; y < surface->h; y++) {
			const uint8* row =
				(const uint8*)surface->pixels + (size_t)y * surface->pitch;
			for (int x = 0; x < surface->w; x++) {
				uint32 pixel;
				memcpy(&pixel, row + (size_t)x * 4, 4);
				coverage->alpha[(size_t)y * surface->w + x] =
					(uint8)((pixel & format->Amask) >> format->Ashift);
			}
		}
		SDL_UnlockSurface(surface);
		drawn = true;
	}
	SDL_FreeSurface(surface);
	return drawn;
}

} // namespace BPrivate
