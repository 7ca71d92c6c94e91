// The reader refuses damaged input with a status and a text, and never
// reads outside what it was given.

#include "ResourceWriter.h"

#include <private/ResourceFile.h>
#include <private/ResourceFormat.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace BPrivate;

namespace {

std::vector<uint8>
SampleBlock()
{
	const char* signature = "application/x-vnd-Kalvex";
	return BuildResourceBlock({ ResourceItem { 'MIMS', 1, "BEOS:APP_SIG",
									std::vector<uint8>(signature,
										signature + strlen(signature) + 1) },
		ResourceItem { 'APPF', 1, "BEOS:APP_FLAGS", { 0, 0, 0, 0 } } });
}

// Reads `bytes` from a buffer of exactly that size, so that the sanitizers
// see any read past the end.
status_t
Read(const std::vector<uint8>& bytes, ResourceFile& file)
{
	std::unique_ptr<uint8[]> exact(new uint8[bytes.size() + 1]);
	std::copy(bytes.begin(), bytes.end(), exact.get());
	return file.SetTo(exact.get(), bytes.size(), "sample.rsrc");
}

uint32
InfoTableOffset(const std::vector<uint8>& block)
{
	return ReadLE32(&block[kInfoTableOffsetField]);
}

} // namespace


TEST(ResourceFile, ReadsBareBlocksAndResourceFiles)
{
	std::vector<uint8> block = SampleBlock();
	ResourceFile	   bare;
	ASSERT_EQ(Read(block, bare), B_OK) << bare.ErrorText();
	EXPECT_EQ(bare.CountResources(), 2);
	EXPECT_EQ(bare.BlockOffset(), 0u);
	EXPECT_STREQ(bare.ErrorText(), "");

	std::vector<uint8> rsrc = { 'R', 'S', 0, 0 };
	rsrc.insert(rsrc.end(), block.begin(), block.end());
	ResourceFile file;
	ASSERT_EQ(Read(rsrc, file), B_OK) << file.ErrorText();
	EXPECT_EQ(file.BlockOffset(), 4u);
	ASSERT_NE(file.FindResource('APPF', "BEOS:APP_FLAGS"), nullptr);
	EXPECT_EQ(file.FindResource('APPF', "BEOS:APP_SIG"), nullptr);
	EXPECT_EQ(file.FindResource('MIMS', 7), nullptr);
	EXPECT_EQ(file.ResourceAt(2), nullptr);
	EXPECT_EQ(file.ResourceAt(-1), nullptr);
}


TEST(ResourceFile, RefusesEveryTruncationOfABlock)
{
	std::vector<uint8> block = SampleBlock();
	for (size_t length = 0; length < block.size(); length++) {
		ResourceFile	   file;
		std::vector<uint8> cut(block.begin(), block.begin() + length);
		EXPECT_NE(Read(cut, file), B_OK) << "length " << length;
		EXPECT_EQ(file.CountResources(), 0);
		EXPECT_NE(std::string(file.ErrorText()).find("sample.rsrc"),
			std::string::npos)
			<< "length " << length;
	}
}


// Damage to the info table and its checksum is swept byte by byte below.
TEST(ResourceFile, RefusesDamagedBlocksWithBadData)
{
	// A word of the block and the damaging value written there.
	const uint32 damages[][2] = {
		{ 4, 10001 },							 // count
		{ 12, 0x600 },							 // admin size
		{ kUnknownSizeField, 0x100 },			 // unknown section size
		{ kIndexEntriesOffset + 4, 0xFFFFFFF0 }, // data past the end
		{ kInfoTableSizeField, 0xFFFFFFF0 },	 // info table past the end
		{ kInfoTableSizeField, 4 },				 // info table too small
		{ 0, 0x12345678 },						 // magic
	};
	for (const auto& damage : damages) {
		std::vector<uint8> block = SampleBlock();
		WriteLE32(&block[damage[0]], damage[1]);
		// A bare block is recognised by its magic; keep the RS header so the
		// damaged magic is still read as a block.
		std::vector<uint8> rsrc = { 'R', 'S', 0, 0 };
		rsrc.insert(rsrc.end(), block.begin(), block.end());
		ResourceFile file;
		EXPECT_EQ(Read(rsrc, file), B_BAD_DATA) << damage[0];
		EXPECT_EQ(file.InitCheck(), B_BAD_DATA) << damage[0];
		EXPECT_EQ(file.CountResources(), 0) << damage[0];
	}
}


TEST(ResourceFile, RefusesEntriesThatTogetherHoldMoreThanTheFile)
{
	std::vector<ResourceItem> items;
	for (int32 id = 1; id <= 40; id++)
		items.push_back(ResourceItem { 'DATA', id, "", { uint8(id) } });
	std::vector<uint8> block = BuildResourceBlock(items);
	ResourceFile	   honest;
	ASSERT_EQ(Read(block, honest), B_OK) << honest.ErrorText();

	// Every entry covers all from the first datum to the end: each lies
	// inside the file, but forty copies of them would not.
	uint32 first = ReadLE32(&block[kIndexEntriesOffset]);
	for (uint32 i = 0; i < items.size(); i++) {
		uint8* entry = &block[kIndexEntriesOffset + i * kIndexEntrySize];
		WriteLE32(entry, first);
		WriteLE32(entry + 4, uint32(block.size()) - first);
	}
	ResourceFile file;
	EXPECT_EQ(Read(block, file), B_BAD_DATA);
	EXPECT_NE(std::string(file.ErrorText()).find("overlap"), std::string::npos)
		<< file.ErrorText();
}


TEST(ResourceFile, RefusesADuplicateIndexButSkipsOneOutOfRange)
{
	// Point the second info at index 1 as well: described twice.
	std::vector<uint8> block = SampleBlock();
	uint32			   table = InfoTableOffset(block);
	uint32			   secondInfo = table + 4 + 10 + 13 + 8 + 4;
	ASSERT_EQ(ReadLE32(&block[secondInfo + 4]), 2u);
	auto rechecksum = [&](std::vector<uint8>& b) {
		size_t end = b.size() - 8;
		WriteLE32(&b[end], InfoTableChecksum(&b[table], end - table));
	};
	WriteLE32(&block[secondInfo + 4], 1);
	rechecksum(block);
	ResourceFile duplicate;
	EXPECT_EQ(Read(block, duplicate), B_BAD_DATA);
	EXPECT_NE(
		std::string(duplicate.ErrorText()).find("twice"), std::string::npos);

	WriteLE32(&block[secondInfo + 4], 9);
	rechecksum(block);
	ResourceFile skipped;
	ASSERT_EQ(Read(block, skipped), B_OK) << skipped.ErrorText();
	EXPECT_EQ(skipped.CountResources(), 1);
	EXPECT_EQ(skipped.ResourceAt(0)->name, "BEOS:APP_SIG");
}


TEST(ResourceFile, NamesWhatItCannotRead)
{
	ResourceFile missing;
	EXPECT_EQ(missing.SetTo("/nonexistent/kalvex"), B_ENTRY_NOT_FOUND);
	EXPECT_NE(std::string(missing.ErrorText()).find("/nonexistent/kalvex"),
		std::string::npos);

	ResourceFile garbage;
	EXPECT_EQ(Read({ 'h', 'e', 'l', 'l', 'o' }, garbage), B_BAD_TYPE);
	ResourceFile empty;
	EXPECT_EQ(Read({}, empty), B_BAD_TYPE);

	std::vector<uint8> swapped = { 'R', 'S', 0, 0 };
	std::vector<uint8> block = SampleBlock();
	WriteLE32(&block[0], __builtin_bswap32(kResourcesMagic));
	swapped.insert(swapped.end(), block.begin(), block.end());
	ResourceFile bigEndian;
	EXPECT_EQ(Read(swapped, bigEndian), B_BAD_TYPE);
	EXPECT_NE(std::string(bigEndian.ErrorText()).find("big-endian"),
		std::string::npos);

	ResourceFile unread;
	EXPECT_NE(unread.InitCheck(), B_OK);
}


TEST(ResourceFile, RefusesAnyDamagedByteOfTheInfoTable)
{
	const std::vector<uint8> block = SampleBlock();
	for (size_t i = InfoTableOffset(block); i < block.size(); i++) {
		std::vector<uint8> damaged = block;
		damaged[i] ^= 0x10;
		ResourceFile file;
		EXPECT_EQ(Read(damaged, file), B_BAD_DATA) << "byte " << i;
	}
}
