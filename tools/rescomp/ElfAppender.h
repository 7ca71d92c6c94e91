#ifndef _KX_ELF_APPENDER_H
#define _KX_ELF_APPENDER_H

// Puts a resource block into an executable: at the first page boundary
// after the ELF image, the gap zero-filled. A block left there by an earlier
// run is replaced, so rebuilding never stacks a second one.

#include <SupportDefs.h>

#include <string>
#include <vector>

namespace BPrivate {

// Returns the file contents with `block` in place, or false with *error set
// when `file` is not a little-endian ELF image or carries other trailing data.
bool AttachResourceBlock(const std::vector<uint8>& file,
	const std::vector<uint8>& block, const std::string& name,
	std::vector<uint8>* result, std::string* error);

// The same on the file at `path`, which keeps its permissions.
bool AttachResourceBlockToFile(
	const char* path, const std::vector<uint8>& block, std::string* error);

} // namespace BPrivate

#endif
