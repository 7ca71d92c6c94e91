#ifndef _KX_RESOURCE_WRITER_H
#define _KX_RESOURCE_WRITER_H

// Lays resources out as a little-endian resource block: header, index with
// its pattern fill, the unknown section, the data back to back in index
// order, and the info table with one type block per run of equal types.

#include <private/ResourceFile.h>

#include <vector>

namespace BPrivate {

std::vector<uint8> BuildResourceBlock(const std::vector<ResourceItem>& items);

// The info table alone, checksum and end marker included.
std::vector<uint8> BuildInfoTable(const std::vector<ResourceItem>& items);

}   // namespace BPrivate

#endif
