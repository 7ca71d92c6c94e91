#include "locale/CatalogFile.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace {

const uint32_t kMagic = 0x950412de;
const uint32_t kSwappedMagic = 0xde120495;


bool
Exists(const std::string& path)
{
	struct stat info;
	return stat(path.c_str(), &info) == 0;
}


// The names gettext tries for one language such as de_DE.UTF-8@euro: the
// whole name, then shorter ones down to the language alone.
std::vector<std::string>
Variants(std::string language)
{
	std::vector<std::string> names = { language };
	for (char cut : { '@', '.', '_' }) {
		size_t at = language.find(cut);
		if (at != std::string::npos) {
			language.erase(at);
			names.push_back(language);
		}
	}
	return names;
}

} // namespace


namespace BPrivate {

std::vector<std::string>
CatalogFilesFor(const std::string& folder, const char* domain)
{
	// As gettext does: LANGUAGE's list, unless the messages' locale is C,
	// else the locale's own name.
	std::vector<std::string> files;
	const char*				 locale = setlocale(LC_MESSAGES, NULL);
	if (locale == NULL || strcmp(locale, "C") == 0
		|| strcmp(locale, "POSIX") == 0)
		return files;
	const char*		   list = getenv("LANGUAGE");
	std::istringstream languages(
		list != NULL && list[0] != '\0' ? list : locale);
	std::string language;
	while (std::getline(languages, language, ':')) {
		for (const std::string& name : Variants(language)) {
			std::string path =
				folder + "/" + name + "/LC_MESSAGES/" + domain + ".mo";
			if (!name.empty() && Exists(path))
				files.push_back(path);
		}
	}
	return files;
}


bool
CatalogIsSound(const std::string& path)
{
	std::ifstream	  file(path, std::ios::binary);
	std::vector<char> data((std::istreambuf_iterator<char>(file)),
		std::istreambuf_iterator<char>());
	const uint64_t	  size = data.size();
	if (!file.is_open() || size < 28)
		return false;
	uint32_t magic;
	memcpy(&magic, data.data(), 4);
	if (magic != kMagic && magic != kSwappedMagic)
		return false;
	auto word = [&](uint64_t at) {
		uint32_t value;
		memcpy(&value, data.data() + at, 4);
		return magic == kMagic ? value : __builtin_bswap32(value);
	};
	// Revision 0, the one the catalogue compiler writes: a count, the two
	// tables of (length, offset) pairs and a hash table of indexes.
	const uint64_t count = word(8);
	const uint64_t hashSize = word(20);
	const uint64_t hashAt = word(24);
	if (word(4) != 0 || hashAt + 4 * hashSize > size)
		return false;
	for (uint64_t table : { word(12), word(16) }) {
		if (table + 8 * count > size)
			return false;
		for (uint64_t i = 0; i < count; i++) {
			uint64_t length = word(table + 8 * i);
			uint64_t at = word(table + 8 * i + 4);
			if (at + length >= size || data[at + length] != '\0')
				return false;
		}
	}
	for (uint64_t i = 0; i < hashSize; i++) {
		if (word(hashAt + 4 * i) > count)
			return false;
	}
	return true;
}

} // namespace BPrivate
