// libFuzzer entry: any bytes as the resource block that the platform reads
// from an executable (or as a resource file, or an executable), through the
// checks of the reader and the look-ups made of what it accepts.

#include <private/ResourceFile.h>

extern "C" int
LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	BPrivate::ResourceFile file;
	if (file.SetTo(data, size, "fuzz input") != B_OK) {
		// The error text names the input whatever went wrong.
		if (file.ErrorText()[0] == '\0')
			__builtin_trap();
		return 0;
	}
	for (int32 i = 0; i < file.CountResources(); i++) {
		const BPrivate::ResourceItem* item = file.ResourceAt(i);
		if (file.FindResource(item->type, item->id) == nullptr
			|| file.FindResource(item->type, item->name.c_str()) == nullptr)
			__builtin_trap();
	}
	return 0;
}
