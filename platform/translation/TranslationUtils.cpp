#include <TranslationUtils.h>

#include "translation/ImageSize.h"

#include <private/DataDirectory.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Anything larger is taken for a damaged or hostile file, not a picture.
const int64 kMaxSide = 4096;
const int64 kMaxPixels = kMaxSide * kMaxSide;
// The largest file read at all: an uncompressed picture of the largest
// accepted size, with room for its headers.
const long	kMaxFileBytes = kMaxPixels * 4 + 1024 * 1024;

// The image library starts its decoders on first use, which is not safe
// from two threads at once.
std::mutex	sDecodeLock;

bool
SaneSize(int64 width, int64 height)
{
	return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide
		&& width * height <= kMaxPixels;
}

// The whole file in memory, so that its header is checked and its pixels
// decoded from the same bytes. False for a file that cannot be read, and for
// anything but a regular file: a pipe or a device could block the caller or
// never end.
bool
ReadFile(const char* path, std::vector<uint8>* contents)
{
	struct stat info;
	if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
		return false;
	int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
	if (fd < 0)
		return false;
	// The name may have been pointed elsewhere since it was looked at.
	bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0
		&& info.st_size <= kMaxFileBytes;
	if (ok) {
		contents->resize((size_t)info.st_size);
		size_t got = 0;
		while (got < contents->size()) {
			ssize_t count =
				read(fd, contents->data() + got, contents->size() - got);
			if (count < 0 && errno == EINTR)
				continue;
			if (count <= 0)
				break;
			got += (size_t)count;
		}
		ok = got == contents->size();
	}
	close(fd);
	return ok;
}

// Decodes to 32-bit pixels whose bytes lie blue, green, red, alpha in
// memory; formats without alpha come out opaque, a colour key transparent.
SDL_Surface*
Decode(const std::vector<uint8>& contents, const char* format)
{
	std::lock_guard<std::mutex> guard(sDecodeLock);
	SDL_RWops*					stream =
		SDL_RWFromConstMem(contents.data(), (int)contents.size());
	if (stream == nullptr)
		return nullptr;
	// The decoder of the format whose header was checked, and no other:
	// guessing from the contents could pick one whose size nobody read.
	SDL_Surface* decoded = nullptr;
	if (strcmp(format, "PNG") == 0)
		decoded = IMG_LoadPNG_RW(stream);
	else if (strcmp(format, "BMP") == 0)
		decoded = IMG_LoadBMP_RW(stream);
	else if (strcmp(format, "GIF") == 0)
		decoded = IMG_LoadGIF_RW(stream);
	else if (strcmp(format, "JPG") == 0)
		decoded = IMG_LoadJPG_RW(stream);
	SDL_RWclose(stream);
	if (decoded == nullptr)
		return nullptr;
	SDL_Surface* converted = nullptr;
	if (SaneSize(decoded->w, decoded->h))
		converted =
			SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
	SDL_FreeSurface(decoded);
	return converted;
}

BBitmap*
LoadBitmap(const char* path)
{
	std::vector<uint8> contents;
	if (!ReadFile(path, &contents))
		return nullptr;

	// The decoders allocate the whole picture before they find out whether
	// the data behind the header is any good, so the size the header
	// declares is checked first; a format whose size cannot be read before
	// decoding is not decoded at all.
	int64						width = 0;
	int64						height = 0;
	const char*					format = nullptr;
	BPrivate::image_size_result peek = BPrivate::PeekImageSize(
		contents.data(), contents.size(), &width, &height, &format);
	if (peek != BPrivate::IMAGE_SIZE_FOUND || !SaneSize(width, height))
		return nullptr;

	SDL_Surface* surface = Decode(contents, format);
	if (surface == nullptr)
		return nullptr;

	BBitmap* bitmap =
		new BBitmap(BRect(0, 0, surface->w - 1, surface->h - 1), B_RGB32);
	if (bitmap->InitCheck() != B_OK || bitmap->Bits() == nullptr
		|| SDL_LockSurface(surface) != 0) {
		delete bitmap;
		SDL_FreeSurface(surface);
		return nullptr;
	}
	uint8* bits = (uint8*)bitmap->Bits();
	size_t rowBytes = (size_t)surface->w * 4;
	for (int y = 0; y < surface->h; y++) {
		memcpy(bits + (size_t)y * bitmap->BytesPerRow(),
			(const uint8*)surface->pixels + (size_t)y * surface->pitch,
			rowBytes);
	}
	SDL_UnlockSurface(surface);
	SDL_FreeSurface(surface);
	return bitmap;
}

} // namespace


BBitmap*
BTranslationUtils::GetBitmap(const char* path)
{
	if (path == nullptr || path[0] == '\0')
		return nullptr;
	BBitmap* bitmap = LoadBitmap(path);
	// A game started from a menu runs elsewhere than its pictures; an
	// installed copy is the second place to look.
	if (bitmap == nullptr && path[0] != '/') {
		std::string folder = BPrivate::AppDataDirectory();
		if (!folder.empty())
			bitmap = LoadBitmap((folder + "/" + path).c_str());
	}
	return bitmap;
}
