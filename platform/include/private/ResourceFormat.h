#ifndef _KX_RESOURCE_FORMAT_H
#define _KX_RESOURCE_FORMAT_H

// The layout of a little-endian resource block, shared by the reader in the
// platform layer and the resource compiler so that it is written down once.
// Offsets are counted from the first byte of the block.

#include <SupportDefs.h>

namespace BPrivate {

const uint32 kResourcesMagic = 0x444F1000;
const uint32 kResourceIndexOffset = 0x44; // also the header's size
const uint32 kIndexHeaderSize = 132;
const uint32 kIndexEntriesOffset = kResourceIndexOffset + kIndexHeaderSize;
const uint32 kIndexEntrySize = 12;
const uint32 kIndexSectionAlignment = 0x600;
const uint32 kUnknownSectionSize = 0x168;
const uint32 kMaxResourceCount = 10000;
const uint32 kInfoSeparator = 0xFFFFFFFF; // two of these end a type block
const uint32 kInfoTableEndSize = 8;		  // checksum, then a zero word
const uint32 kMinInfoTableSize = 16;	  // separator and end, no resources

// Index section header fields, block-relative.
const uint32 kIndexSectionSizeField = 0x48;
const uint32 kUnknownOffsetField = 0x50;
const uint32 kUnknownSizeField = 0x54;
const uint32 kInfoTableOffsetField = 0xBC;
const uint32 kInfoTableSizeField = 0xC0;

// Executables put the block at the first page boundary after the ELF image.
const uint64 kElfResourceAlignment = 4096;

inline uint32
IndexSectionSize(uint32 count)
{
	uint32 raw = kIndexHeaderSize + kIndexEntrySize * count;
	return (raw + kIndexSectionAlignment - 1) / kIndexSectionAlignment
		* kIndexSectionAlignment;
}

inline uint32
AdminSectionSize(uint32 count)
{
	return kResourceIndexOffset + IndexSectionSize(count);
}

inline uint32
DataSectionOffset(uint32 count)
{
	return AdminSectionSize(count) + kUnknownSectionSize;
}

// Every unused word of the admin and unknown sections holds this pattern,
// phased by the word's offset from the start of the block.
inline uint32
PatternWordAt(uint32 offset)
{
	static const uint32 kPattern[3] = { 0xFFFFFFFF, 0x000003E9, 0x00000000 };
	return kPattern[(offset / 4) % 3];
}

// The info table's checksum: the bytes up to the table end, read as
// big-endian words whatever the block's byte order; a short last chunk
// counts as a smaller big-endian number.
inline uint32
InfoTableChecksum(const uint8* bytes, size_t length)
{
	uint32 sum = 0;
	for (size_t k = 0; k < length; k += 4) {
		uint32 word = 0;
		for (size_t i = k; i < k + 4 && i < length; i++)
			word = word * 256 + bytes[i];
		sum += word;
	}
	return sum;
}

inline uint16
ReadLE16(const uint8* p)
{
	return uint16(p[0] | (p[1] << 8));
}

inline uint32
ReadLE32(const uint8* p)
{
	return uint32(p[0]) | (uint32(p[1]) << 8) | (uint32(p[2]) << 16)
		| (uint32(p[3]) << 24);
}

inline uint64
ReadLE64(const uint8* p)
{
	return uint64(ReadLE32(p)) | (uint64(ReadLE32(p + 4)) << 32);
}

inline void
WriteLE16(uint8* p, uint16 value)
{
	p[0] = uint8(value);
	p[1] = uint8(value >> 8);
}

inline void
WriteLE32(uint8* p, uint32 value)
{
	for (int i = 0; i < 4; i++)
		p[i] = uint8(value >> (8 * i));
}

} // namespace BPrivate

#endif
