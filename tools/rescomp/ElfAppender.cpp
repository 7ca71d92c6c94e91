#include "ElfAppender.h"

#include <private/ElfImage.h>
#include <private/ResourceFormat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace BPrivate {

namespace {

bool
HoldsOldBlock(const std::vector<uint8>& file, uint64 imageEnd, uint64 offset)
{
	for (uint64 i = imageEnd; i < offset && i < file.size(); i++) {
		if (file[i] != 0)
			return false;
	}
	// Trailing zeros that stop short of the boundary are padding too.
	if (file.size() <= offset)
		return true;
	return file.size() - offset >= 4
		&& ReadLE32(&file[offset]) == kResourcesMagic;
}

} // namespace


bool
AttachResourceBlock(const std::vector<uint8>& file,
	const std::vector<uint8>& block, const std::string& name,
	std::vector<uint8>* result, std::string* error)
{
	uint64	 imageEnd = 0;
	status_t status = FindElfImageEnd(file.data(), file.size(), &imageEnd);
	if (status == B_BAD_TYPE) {
		*error = name
			+ ": not a little-endian ELF executable; resources can "
			  "only be attached to one";
		return false;
	}
	if (status != B_OK) {
		*error = name
			+ ": ELF headers point outside the file; the "
			  "executable is damaged, rebuild it";
		return false;
	}
	uint64 offset = ElfResourceOffset(imageEnd);
	if (!HoldsOldBlock(file, imageEnd, offset)) {
		*error = name
			+ ": holds data after its ELF image that is not a "
			  "resource block; left unchanged rather than overwritten";
		return false;
	}
	result->assign(file.begin(), file.begin() + imageEnd);
	result->resize(offset, 0);
	result->insert(result->end(), block.begin(), block.end());
	return true;
}


bool
AttachResourceBlockToFile(
	const char* path, const std::vector<uint8>& block, std::string* error)
{
	struct stat	  info;
	std::ifstream input(path, std::ios::binary);
	if (!input || stat(path, &info) != 0) {
		*error = std::string(path)
			+ ": cannot be opened; check that the "
			  "executable was built";
		return false;
	}
	std::vector<uint8> file((std::istreambuf_iterator<char>(input)),
		std::istreambuf_iterator<char>());
	input.close();

	std::vector<uint8> result;
	if (!AttachResourceBlock(file, block, path, &result, error))
		return false;

	// Write beside it and rename, so that a running copy of the program is
	// not disturbed and a failed write leaves the old file whole.
	const std::string temporary = std::string(path) + ".rescomp-tmp";
	std::ofstream	  output(temporary, std::ios::binary | std::ios::trunc);
	output.write(reinterpret_cast<const char*>(result.data()),
		std::streamsize(result.size()));
	output.close();
	if (!output || chmod(temporary.c_str(), info.st_mode & 07777) != 0
		|| rename(temporary.c_str(), path) != 0) {
		std::remove(temporary.c_str());
		*error = std::string(path)
			+ ": could not be rewritten; check the "
			  "free space and the permissions of its folder";
		return false;
	}
	return true;
}

} // namespace BPrivate
