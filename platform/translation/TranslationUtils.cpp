#include <TranslationUtils.h>

#include "translation/ImageDecoders.h"
#include "translation/ImageSize.h"

#include <private/DataDirectory.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The largest file read at all: an uncompressed picture of the largest
// accepted size, with room for its headers.
const long kMaxFileBytes = BPrivate::kMaxImagePixels * 4 + 1024 * 1024;

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

// The decoder of the format whose header was checked, and no other:
// guessing from the contents could pick one whose size nobody read. GIF
// pictures are recognised but not decoded: the game has none, and a decoder
// kept only for them would be code that nothing uses.
BBitmap*
Decode(const std::vector<uint8>& contents, const char* format)
{
	if (strcmp(format, "PNG") == 0)
		return BPrivate::DecodePNG(contents.data(), contents.size());
	if (strcmp(format, "BMP") == 0)
		return BPrivate::DecodeBMP(contents.data(), contents.size());
	if (strcmp(format, "JPG") == 0)
		return BPrivate::DecodeJPEG(contents.data(), contents.size());
	return nullptr;
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
	if (peek != BPrivate::IMAGE_SIZE_FOUND
		|| !BPrivate::SaneImageSize(width, height))
		return nullptr;
	return Decode(contents, format);
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
