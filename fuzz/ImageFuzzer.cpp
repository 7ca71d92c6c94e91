// libFuzzer entry: any bytes as an image file, through the loader, the peg
// keying and the drawing of the board.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>

#include "ImageCheck.h"

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	// The loader reads files by name; a file in memory keeps the disk out.
	static int				   file = memfd_create("kx-fuzz-image", 0);
	static char				   path[64];
	static kxtest::ImageCheck* check = nullptr;
	if (check == nullptr) {
		snprintf(path, sizeof(path), "/proc/self/fd/%d", file);
		check = new kxtest::ImageCheck();
	}

	if (ftruncate(file, 0) != 0 || pwrite(file, data, size, 0) != (ssize_t)size)
		return 0;
	check->Run(path);
	return 0;
}
