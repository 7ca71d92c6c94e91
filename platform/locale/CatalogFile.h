#ifndef _KX_CATALOG_FILE_H
#define _KX_CATALOG_FILE_H

// The compiled catalogues (.mo files) that gettext would read.

#include <string>
#include <vector>

namespace BPrivate {

// The catalogue files of `domain` in `folder` that gettext may read for the
// languages the environment asks for; none under the C locale.
std::vector<std::string> CatalogFilesFor(
	const std::string& folder, const char* domain);

// False when the file is not a catalogue whose every text lies whole inside
// it. gettext trusts such a file and shows pieces of it, or nothing, in
// place of the texts.
bool CatalogIsSound(const std::string& path);

} // namespace BPrivate

#endif
