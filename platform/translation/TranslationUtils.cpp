#include <TranslationUtils.h>

#include "translation/ImageSize.h"

#include <private/DataDirectory.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace {

// Anything larger is taken for a damaged or hostile file, not a picture.
const int64 kMaxSide = 16384;
const int64 kMaxPixels = 64 * 1024 * 1024;
// The largest file read at all: an uncompressed picture of the largest
// accepted size, with room for its headers.
const long kMaxFileBytes = kMaxPixels * 4 + 1024 * 1024;

// The image library starts its decoders on first use, which is not safe
// from two threads at once.
std::mutex sDecodeLock;

bool SaneSize(int64 width, int64 height)
{
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide
        && width * height <= kMaxPixels;
}

// The whole file in memory, so that its header is checked and its pixels
// decoded from the same bytes. False for a file that cannot be read.
bool ReadFile(const char* path, std::vector<uint8>* contents)
{
    FILE* file = fopen(path, "rb");
    if (file == nullptr)
        return false;
    bool ok = fseek(file, 0, SEEK_END) == 0;
    long size = ok ? ftell(file) : -1;
    ok = ok && size > 0 && size <= kMaxFileBytes && fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        contents->resize((size_t)size);
        ok = fread(contents->data(), 1, (size_t)size, file) == (size_t)size;
    }
    fclose(file);
    return ok;
}

// Decodes to 32-bit pixels whose bytes lie blue, green, red, alpha in
// memory; formats without alpha come out opaque, a colour key transparent.
SDL_Surface* Decode(const std::vector<uint8>& contents)
{
    std::lock_guard<std::mutex> guard(sDecodeLock);
    SDL_RWops* stream = SDL_RWFromConstMem(contents.data(), (int)contents.size());
    if (stream == nullptr)
        return nullptr;
    SDL_Surface* decoded = IMG_Load_RW(stream, 1);
    if (decoded == nullptr)
        return nullptr;
    SDL_Surface* converted = nullptr;
    if (SaneSize(decoded->w, decoded->h))
        converted = SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(decoded);
    return converted;
}

BBitmap* LoadBitmap(const char* path)
{
    std::vector<uint8> contents;
    if (!ReadFile(path, &contents))
        return nullptr;

    // The decoders allocate the whole picture before they find out whether
    // the data behind the header is any good, so the size the header
    // declares is checked first; formats not read here are checked after
    // decoding.
    int64 width = 0;
    int64 height = 0;
    BPrivate::image_size_result peek
        = BPrivate::PeekImageSize(contents.data(), contents.size(), &width, &height);
    if (peek == BPrivate::IMAGE_SIZE_CORRUPT
        || (peek == BPrivate::IMAGE_SIZE_FOUND && !SaneSize(width, height)))
        return nullptr;

    SDL_Surface* surface = Decode(contents);
    if (surface == nullptr)
        return nullptr;

    BBitmap* bitmap = new BBitmap(BRect(0, 0, surface->w - 1, surface->h - 1), B_RGB32);
    if (bitmap->InitCheck() != B_OK || bitmap->Bits() == nullptr || SDL_LockSurface(surface) != 0) {
        delete bitmap;
        SDL_FreeSurface(surface);
        return nullptr;
    }
    uint8* bits = (uint8*)bitmap->Bits();
    size_t rowBytes = (size_t)surface->w * 4;
    for (int y = 0; y < surface->h; y++) {
        memcpy(bits + (size_t)y * bitmap->BytesPerRow(),
            (const uint8*)surface->pixels + (size_t)y * surface->pitch, rowBytes);
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
