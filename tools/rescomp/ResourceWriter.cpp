#include "ResourceWriter.h"

#include <private/ResourceFormat.h>

namespace BPrivate {

namespace {

void
Append32(std::vector<uint8>& bytes, uint32 value)
{
	size_t at = bytes.size();
	bytes.resize(at + 4);
	WriteLE32(&bytes[at], value);
}

void
AppendSeparator(std::vector<uint8>& bytes)
{
	Append32(bytes, kInfoSeparator);
	Append32(bytes, kInfoSeparator);
}

} // namespace


std::string
ResourceItemsProblem(const std::vector<ResourceItem>& items)
{
	if (items.size() > kMaxResourceCount) {
		return std::to_string(items.size()) + " resources, more than the "
			+ std::to_string(kMaxResourceCount) + " a resource block can hold";
	}
	// Everything lies at 32-bit offsets in the block: the index, the data
	// and the info table (each entry well under 32 bytes besides its name).
	uint64 end = DataSectionOffset(uint32(items.size())) + 16;
	for (const ResourceItem& item : items) {
		if (item.name.size() + 1 > 0xFFFF) {
			return "the name of resource " + std::to_string(item.id) + " is "
				+ std::to_string(item.name.size())
				+ " bytes long; at most 65,534 fit";
		}
		if (item.name.find('\0') != std::string::npos) {
			return "the name of resource " + std::to_string(item.id)
				+ " holds a zero byte, where a reader would cut it short";
		}
		end += item.data.size() + item.name.size() + 32;
	}
	if (end > 0xFFFFFFFFull)
		return "the resources hold more data than a resource block can address";
	return std::string();
}


std::vector<uint8>
BuildInfoTable(const std::vector<ResourceItem>& items)
{
	if (!ResourceItemsProblem(items).empty())
		return std::vector<uint8>();
	std::vector<uint8> table;
	for (size_t i = 0; i < items.size(); i++) {
		const ResourceItem& item = items[i];
		if (i > 0 && item.type != items[i - 1].type)
			AppendSeparator(table);
		if (i == 0 || item.type != items[i - 1].type)
			Append32(table, item.type);
		Append32(table, uint32(item.id));
		Append32(table, uint32(i + 1));
		uint16 nameSize = item.name.empty() ? 0 : uint16(item.name.size() + 1);
		table.push_back(uint8(nameSize));
		table.push_back(uint8(nameSize >> 8));
		table.insert(table.end(), item.name.begin(), item.name.end());
		if (nameSize > 0)
			table.push_back(0);
	}
	AppendSeparator(table);
	Append32(table, InfoTableChecksum(table.data(), table.size()));
	Append32(table, 0);
	return table;
}


std::vector<uint8>
BuildResourceBlock(const std::vector<ResourceItem>& items)
{
	if (!ResourceItemsProblem(items).empty())
		return std::vector<uint8>();
	const uint32	   count = uint32(items.size());
	const uint32	   dataOffset = DataSectionOffset(count);
	std::vector<uint8> block(dataOffset);
	for (uint32 offset = 0; offset < dataOffset; offset += 4)
		WriteLE32(&block[offset], PatternWordAt(offset));

	// Header: magic, count, index offset, admin size, zero padding.
	WriteLE32(&block[0], kResourcesMagic);
	WriteLE32(&block[4], count);
	WriteLE32(&block[8], kResourceIndexOffset);
	WriteLE32(&block[12], AdminSectionSize(count));
	for (uint32 offset = 16; offset < kResourceIndexOffset; offset += 4)
		WriteLE32(&block[offset], 0);

	// Index section header; its unused words keep the pattern.
	WriteLE32(&block[kResourceIndexOffset], kResourceIndexOffset);
	WriteLE32(&block[kIndexSectionSizeField], IndexSectionSize(count));
	WriteLE32(&block[kUnknownOffsetField], AdminSectionSize(count));
	WriteLE32(&block[kUnknownSizeField], kUnknownSectionSize);

	uint32 dataEnd = dataOffset;
	for (uint32 i = 0; i < count; i++) {
		uint8* entry = &block[kIndexEntriesOffset + i * kIndexEntrySize];
		WriteLE32(entry, dataEnd);
		WriteLE32(entry + 4, uint32(items[i].data.size()));
		WriteLE32(entry + 8, 0);
		block.insert(block.end(), items[i].data.begin(), items[i].data.end());
		dataEnd += uint32(items[i].data.size());
	}

	std::vector<uint8> table = BuildInfoTable(items);
	WriteLE32(&block[kInfoTableOffsetField], dataEnd);
	WriteLE32(&block[kInfoTableSizeField], uint32(table.size()));
	block.insert(block.end(), table.begin(), table.end());
	return block;
}

} // namespace BPrivate
