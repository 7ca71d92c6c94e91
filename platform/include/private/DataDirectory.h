#ifndef _KX_DATA_DIRECTORY_H
#define _KX_DATA_DIRECTORY_H

// Where an installed application keeps its data, worked out from the
// executable's own path so that the installation can be moved.

#include <string>

namespace BPrivate {

// The data folder of an executable at `executable` (an absolute path).
std::string AppDataDirectoryFor(const std::string& executable);
// The same for the running executable; empty when it cannot be found.
std::string AppDataDirectory();

} // namespace BPrivate

#endif
