#ifndef _KX_RESOURCE_WRITER_H
#define _KX_RESOURCE_WRITER_H

// Lays resources out as a little-endian resource block: header, index with
// its pattern fill, the unknown section, the data back to back in index
// order, and the info table with one type block per run of equal types.

#include <private/ResourceFile.h>

#include <string>
#include <vector>

namespace BPrivate {

// What of `items` the format cannot hold (too many, a name too long or with
// a zero byte inside, more data than 32-bit offsets reach); empty if none.
std::string		   ResourceItemsProblem(const std::vector<ResourceItem>& items);

// Both are empty when ResourceItemsProblem() finds something: nothing is
// cut short to fit.
std::vector<uint8> BuildResourceBlock(const std::vector<ResourceItem>& items);

// The info table alone, checksum and end marker included.
std::vector<uint8> BuildInfoTable(const std::vector<ResourceItem>& items);

} // namespace BPrivate

#endif
