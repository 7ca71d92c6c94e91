#include <private/ResourceFile.h>

#include <private/ElfImage.h>
#include <private/ResourceFormat.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

namespace BPrivate {

namespace {

std::string
Hex(uint64 value)
{
	char text[24];
	snprintf(text, sizeof(text), "0x%llX", (unsigned long long)value);
	return text;
}

bool
IsSeparator(const uint8* p)
{
	return ReadLE32(p) == kInfoSeparator && ReadLE32(p + 4) == kInfoSeparator;
}

} // namespace


ResourceFile::ResourceFile() :
	fStatus(B_ERROR),
	fBlockOffset(0)
{ }


status_t
ResourceFile::SetTo(const char* path)
{
	fName = path;
	// An executable's resources sit behind its code, and only its headers
	// and that block are needed: mapped, the file costs memory for those
	// pages alone, where a copy would cost twice its size at start-up.
	int			fd = open(path, O_RDONLY | O_CLOEXEC);
	struct stat info;
	if (fd >= 0 && fstat(fd, &info) == 0 && S_ISREG(info.st_mode)
		&& info.st_size > 0) {
		size_t size = (size_t)info.st_size;
		void*  mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
		if (mapped != MAP_FAILED) {
			close(fd);
			status_t status =
				SetTo(static_cast<const uint8*>(mapped), size, path);
			munmap(mapped, size);
			return status;
		}
	}
	if (fd >= 0)
		close(fd);
	std::ifstream file(path, std::ios::binary);
	if (!file)
		return _Fail(B_ENTRY_NOT_FOUND,
			"cannot be opened; check that the path "
			"names an existing, readable file");
	std::vector<uint8> bytes((std::istreambuf_iterator<char>(file)),
		std::istreambuf_iterator<char>());
	if (file.bad())
		return _Fail(B_IO_ERROR, "could not be read to the end");
	return SetTo(bytes.data(), bytes.size(), path);
}


status_t
ResourceFile::SetTo(const uint8* bytes, size_t size, const char* name)
{
	fName = name;
	fErrorText.clear();
	fItems.clear();
	fBlockOffset = 0;

	uint64	 offset = 0;
	status_t status = _LocateBlock(bytes, size, &offset);
	if (status != B_OK)
		return fStatus = status;
	fBlockOffset = offset;
	if (offset >= size)
		return fStatus = B_OK; // an executable without resources
	status = _ReadBlock(bytes + offset, size - offset);
	if (status != B_OK)
		fItems.clear();
	return fStatus = status;
}


status_t
ResourceFile::InitCheck() const
{
	return fStatus;
}


const char*
ResourceFile::ErrorText() const
{
	return fErrorText.c_str();
}


uint64
ResourceFile::BlockOffset() const
{
	return fBlockOffset;
}


int32
ResourceFile::CountResources() const
{
	return int32(fItems.size());
}


const ResourceItem*
ResourceFile::ResourceAt(int32 index) const
{
	if (index < 0 || index >= CountResources())
		return nullptr;
	return &fItems[index];
}


const ResourceItem*
ResourceFile::FindResource(type_code type, const char* name) const
{
	for (const ResourceItem& item : fItems) {
		if (item.type == type && name != nullptr && item.name == name)
			return &item;
	}
	return nullptr;
}


const ResourceItem*
ResourceFile::FindResource(type_code type, int32 id) const
{
	for (const ResourceItem& item : fItems) {
		if (item.type == type && item.id == id)
			return &item;
	}
	return nullptr;
}


status_t
ResourceFile::_Fail(status_t status, const std::string& why)
{
	fErrorText = fName + ": " + why;
	return fStatus = status;
}


status_t
ResourceFile::_LocateBlock(const uint8* bytes, size_t size, uint64* offset)
{
	if (size >= 4 && bytes[0] == 0x7F && bytes[1] == 'E' && bytes[2] == 'L'
		&& bytes[3] == 'F') {
		uint64	 imageEnd = 0;
		status_t status = FindElfImageEnd(bytes, size, &imageEnd);
		if (status == B_BAD_TYPE)
			return _Fail(status,
				"is an ELF file of a kind without resources "
				"(only little-endian ELF files carry them)");
		if (status != B_OK)
			return _Fail(status,
				"has ELF headers that point outside the "
				"file; the executable is truncated or damaged, rebuild it");
		*offset = ElfResourceOffset(imageEnd);
		return B_OK;
	}
	if (size >= 2 && bytes[0] == 'R' && bytes[1] == 'S') {
		*offset = 4;
		return B_OK;
	}
	if (size >= 4 && ReadLE32(bytes) == kResourcesMagic) {
		*offset = 0;
		return B_OK;
	}
	return _Fail(B_BAD_TYPE, "is neither an executable nor a resource file");
}


status_t
ResourceFile::_ReadBlock(const uint8* block, size_t size)
{
	if (size < kIndexEntriesOffset)
		return _Fail(B_BAD_DATA, "resource header is truncated");
	uint32 magic = ReadLE32(block);
	if (magic == __builtin_bswap32(kResourcesMagic))
		return _Fail(B_BAD_TYPE,
			"holds big-endian resources, which are "
			"not supported");
	if (magic != kResourcesMagic)
		return _Fail(B_BAD_DATA,
			"has no resource block where one belongs "
			"(bad magic "
				+ Hex(magic) + " at offset " + Hex(fBlockOffset) + ")");

	uint32 count = ReadLE32(block + 4);
	if (count > kMaxResourceCount)
		return _Fail(B_BAD_DATA,
			"claims " + std::to_string(count)
				+ " resources, more than a resource block can hold");
	uint32 adminSize = AdminSectionSize(count);
	if (ReadLE32(block + 8) != kResourceIndexOffset
		|| ReadLE32(block + 12) != adminSize
		|| ReadLE32(block + kResourceIndexOffset) != kResourceIndexOffset
		|| ReadLE32(block + kIndexSectionSizeField) != IndexSectionSize(count)
		|| ReadLE32(block + kUnknownOffsetField) != adminSize
		|| ReadLE32(block + kUnknownSizeField) != kUnknownSectionSize)
		return _Fail(B_BAD_DATA, "has a damaged resource index header");
	if (size < uint64(adminSize) + kUnknownSectionSize)
		return _Fail(B_BAD_DATA, "resource index is truncated");

	uint64 infoOffset = ReadLE32(block + kInfoTableOffsetField);
	uint64 infoSize = ReadLE32(block + kInfoTableSizeField);
	if (infoSize < kInfoTableEndSize || infoOffset + infoSize > size)
		return _Fail(B_BAD_DATA,
			"resource info table lies outside the file "
			"(offset "
				+ Hex(infoOffset) + ", size " + Hex(infoSize)
				+ "); the file is truncated");

	std::vector<uint64> offsets(count);
	std::vector<uint64> sizes(count);
	// Each resource gets a copy of its data: entries that overlap could
	// otherwise have a small file take thousands of times its size.
	uint64				total = 0;
	for (uint32 i = 0; i < count; i++) {
		const uint8* entry = block + kIndexEntriesOffset + i * kIndexEntrySize;
		offsets[i] = ReadLE32(entry);
		sizes[i] = ReadLE32(entry + 4);
		if (offsets[i] + sizes[i] > size)
			return _Fail(B_BAD_DATA,
				"data of resource " + std::to_string(i + 1)
					+ " lies outside the file; the file is truncated");
		total += sizes[i];
		if (total > size)
			return _Fail(B_BAD_DATA,
				"resources overlap: together they hold "
				"more data than the file; the file is damaged, rebuild it");
	}
	return _ReadInfoTable(block + infoOffset, infoSize, offsets, sizes, block);
}


status_t
ResourceFile::_ReadInfoTable(const uint8* table, size_t size,
	const std::vector<uint64>& offsets, const std::vector<uint64>& sizes,
	const uint8* block)
{
	// A table whose last word is zero carries its checksum before it; some
	// old files end without that marker and are read as they are.
	size_t length = size;
	if (ReadLE32(table + size - 4) == 0) {
		length = size - kInfoTableEndSize;
		uint32 stored = ReadLE32(table + length);
		uint32 computed = InfoTableChecksum(table, length);
		if (stored != computed)
			return _Fail(B_BAD_DATA,
				"resource info table checksum is " + Hex(stored)
					+ " but the table sums to " + Hex(computed)
					+ "; the resources are damaged, rebuild the file");
	}

	if (length < 8)
		return _Fail(B_BAD_DATA, "resource info table is too short");

	const size_t			  count = offsets.size();
	std::vector<bool>		  seen(count, false);
	std::vector<ResourceItem> items(count);
	size_t					  pos = 0;
	bool					  emptyTable = length == 8 && IsSeparator(table);
	if (emptyTable)
		pos = length;
	while (pos < length) {
		// A block: a type, one or more infos, then a separator.
		if (length - pos < 4 + 10 + 8)
			return _Fail(B_BAD_DATA,
				"resource info table ends inside a "
				"type block");
		type_code type = ReadLE32(table + pos);
		pos += 4;
		do {
			if (length - pos < 10)
				return _Fail(B_BAD_DATA, "resource info is truncated");
			int32  id = int32(ReadLE32(table + pos));
			uint32 index = ReadLE32(table + pos + 4);
			uint16 nameSize = ReadLE16(table + pos + 8);
			pos += 10;
			if (length - pos < size_t(nameSize) + 8)
				return _Fail(B_BAD_DATA,
					"resource name runs past the info "
					"table");
			if (nameSize > 0 && table[pos + nameSize - 1] != 0)
				return _Fail(B_BAD_DATA, "resource name is not terminated");
			const char* name = reinterpret_cast<const char*>(table + pos);
			pos += nameSize;
			// Indices out of range name no resource and are skipped.
			if (index < 1 || index > count)
				continue;
			if (seen[index - 1])
				return _Fail(B_BAD_DATA,
					"resource " + std::to_string(index)
						+ " is described twice");
			seen[index - 1] = true;
			ResourceItem& item = items[index - 1];
			item.type = type;
			item.id = id;
			item.name = nameSize > 0 ? std::string(name) : std::string();
			const uint8* data = block + offsets[index - 1];
			item.data.assign(data, data + sizes[index - 1]);
		} while (!IsSeparator(table + pos));
		pos += 8;
		if (pos < length && length - pos < 4 + 10 + 8)
			return _Fail(B_BAD_DATA,
				"resource info table has stray bytes "
				"after its last type block");
	}

	// A resource with no description is dropped, as the platform does.
	for (size_t i = 0; i < count; i++) {
		if (seen[i])
			fItems.push_back(std::move(items[i]));
	}
	return B_OK;
}

} // namespace BPrivate
