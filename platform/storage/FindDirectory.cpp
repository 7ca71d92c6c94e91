#include <FindDirectory.h>

#include <private/DataDirectory.h>

#include <cstring>
#include <filesystem>
#include <system_error>

// Set by the build: the data folder as seen from the folder of the
// executable, e.g. "../share/kalvex".
#ifndef KX_DATA_FROM_BINDIR
#define KX_DATA_FROM_BINDIR "../share/kalvex"
#endif

namespace BPrivate {

std::string
AppDataDirectoryFor(const std::string& executable)
{
	std::filesystem::path folder =
		std::filesystem::path(executable).parent_path();
	return (folder / KX_DATA_FROM_BINDIR).lexically_normal().string();
}

std::string
AppDataDirectory()
{
	std::error_code		  error;
	std::filesystem::path executable =
		std::filesystem::read_symlink("/proc/self/exe", error);
	if (error)
		return std::string();
	return AppDataDirectoryFor(executable.string());
}

} // namespace BPrivate


status_t
find_directory(directory_which which, dev_t, bool, char* path, int32 length)
{
	if (which != B_APP_DATA_DIRECTORY || path == nullptr || length <= 0)
		return B_BAD_VALUE;
	std::string folder = BPrivate::AppDataDirectory();
	if (folder.empty())
		return B_ERROR;
	if (folder.size() + 1 > (size_t)length)
		return B_BAD_VALUE;
	memcpy(path, folder.c_str(), folder.size() + 1);
	return B_OK;
}
