#ifndef _KX_ELF_IMAGE_H
#define _KX_ELF_IMAGE_H

// Where the ELF image inside a file ends: nothing in the ELF headers points
// at data appended after it, so the end is the furthest byte that the file
// header, the program headers with their segments and the section headers
// with their sections reach. Shared by the resource reader and the resource
// compiler, which must agree on it byte for byte.

#include <SupportDefs.h>

#include <algorithm>

#include "ResourceFormat.h"

namespace BPrivate {

inline bool
ElfRangeInside(uint64 offset, uint64 length, uint64 fileSize)
{
	return offset <= fileSize && length <= fileSize - offset;
}

// Sets *end to the end of the image of a little-endian ELF file held in
// `data`. Returns B_BAD_TYPE for something that is not a little-endian ELF
// file and B_BAD_DATA for headers that point outside the file.
inline status_t
FindElfImageEnd(const uint8* data, uint64 size, uint64* end)
{
	if (size < 16 || data[0] != 0x7F || data[1] != 'E' || data[2] != 'L'
		|| data[3] != 'F')
		return B_BAD_TYPE;
	const uint8 elfClass = data[4];
	if (data[5] != 1 || data[6] != 1 || (elfClass != 1 && elfClass != 2))
		return B_BAD_TYPE;
	const bool	 is64 = elfClass == 2;
	const uint64 headerSize = is64 ? 64 : 52;
	if (size < headerSize)
		return B_BAD_DATA;

	const uint64 phoff = is64 ? ReadLE64(data + 32) : ReadLE32(data + 28);
	const uint64 shoff = is64 ? ReadLE64(data + 40) : ReadLE32(data + 32);
	const uint8* sizes = data + (is64 ? 52 : 40);
	const uint64 ehsize = ReadLE16(sizes);
	const uint64 phentsize = ReadLE16(sizes + 2);
	const uint64 phnum = ReadLE16(sizes + 4);
	const uint64 shentsize = ReadLE16(sizes + 6);
	const uint64 shnum = ReadLE16(sizes + 8);
	if (ehsize < headerSize || ehsize > 96 || ehsize > size)
		return B_BAD_DATA;

	uint64 imageEnd = ehsize;
	if (phoff != 0) {
		if (phentsize < (is64 ? 56u : 32u)
			|| !ElfRangeInside(phoff, phentsize * phnum, size))
			return B_BAD_DATA;
		imageEnd = std::max(imageEnd, phoff + phentsize * phnum);
		for (uint64 i = 0; i < phnum; i++) {
			const uint8* ph = data + phoff + i * phentsize;
			if (ReadLE32(ph) == 0) // PT_NULL
				continue;
			uint64 offset = is64 ? ReadLE64(ph + 8) : ReadLE32(ph + 4);
			uint64 fileSize = is64 ? ReadLE64(ph + 32) : ReadLE32(ph + 16);
			if (!ElfRangeInside(offset, fileSize, size))
				return B_BAD_DATA;
			imageEnd = std::max(imageEnd, offset + fileSize);
		}
	}
	if (shoff != 0) {
		if (shentsize < (is64 ? 64u : 40u)
			|| !ElfRangeInside(shoff, shentsize * shnum, size))
			return B_BAD_DATA;
		imageEnd = std::max(imageEnd, shoff + shentsize * shnum);
		for (uint64 i = 0; i < shnum; i++) {
			const uint8* sh = data + shoff + i * shentsize;
			uint32		 type = ReadLE32(sh + 4);
			if (type == 0 || type == 8) // SHT_NULL, SHT_NOBITS
				continue;
			uint64 offset = is64 ? ReadLE64(sh + 24) : ReadLE32(sh + 16);
			uint64 sectionSize = is64 ? ReadLE64(sh + 32) : ReadLE32(sh + 20);
			if (offset < ehsize || !ElfRangeInside(offset, sectionSize, size))
				return B_BAD_DATA;
			imageEnd = std::max(imageEnd, offset + sectionSize);
		}
	}
	*end = imageEnd;
	return B_OK;
}

// The first page boundary at or after the end of the image.
inline uint64
ElfResourceOffset(uint64 imageEnd)
{
	return (imageEnd + kElfResourceAlignment - 1) / kElfResourceAlignment
		* kElfResourceAlignment;
}

} // namespace BPrivate

#endif
