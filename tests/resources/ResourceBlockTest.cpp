// The writer's block, byte for byte against the format's worked example,
// and what it cannot hold. The reader
// takes bare blocks, resource files and executables, and refuses damaged
// input with a status and a text that names it, never reading outside what
// it was given.

#include "ResourceWriter.h"

#include <private/ResourceFile.h>
#include <private/ResourceFormat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

using namespace BPrivate;

namespace {

ResourceItem
Item(type_code type, int32 id, const char* name, std::vector<uint8> data)
{
	return ResourceItem { type, id, name, std::move(data) };
}

std::vector<uint8>
Text(const char* text)
{
	return std::vector<uint8>(text, text + strlen(text) + 1);
}

std::vector<uint8>
SampleBlock(int32 count = 0)
{
	std::vector<ResourceItem> items = { Item('MIMS', 1, "BEOS:APP_SIG",
											Text("application/x-vnd-Kalvex")),
		Item('APPF', 1, "BEOS:APP_FLAGS", { 0, 0, 0, 0 }) };
	for (int32 id = 2; id < count; id++)
		items.push_back(Item('DATA', id, "", { uint8(id) }));
	return BuildResourceBlock(items);
}

// The sample block as a resource file, with `value` at `offset` of the
// block and the info table's checksum made to fit again when asked. The
// file's header has a block with a damaged magic still read as one.
std::vector<uint8>
WithWord(std::vector<uint8> block, uint32 offset, uint32 value,
	bool rechecksum = false)
{
	WriteLE32(&block[offset], value);
	uint32 table = ReadLE32(&block[kInfoTableOffsetField]);
	size_t end = block.size() - kInfoTableEndSize;
	if (rechecksum)
		WriteLE32(&block[end], InfoTableChecksum(&block[table], end - table));
	block.insert(block.begin(), { 'R', 'S', 0, 0 });
	return block;
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

} // namespace


TEST(ResourceWriter, RebuildsTheWorkedExampleByteForByte)
{
	std::vector<uint8> block = BuildResourceBlock(
		{ Item('MIMS', 1, "BEOS:APP_SIG", Text("application/x-vnd.test-app")),
			Item('APPF', 1, "BEOS:APP_FLAGS", { 1, 0, 0, 0 }) });
	ASSERT_EQ(block.size(), 0x81Bu);

	// Offset and word; every other word of the header and of the unused
	// space up to the data is checked below.
	const uint32 words[][2] = { { 0, 0x444F1000 }, { 4, 2 }, { 8, 0x44 },
		{ 0xC, 0x644 }, { 0x44, 0x44 }, { 0x48, 0x600 }, { 0x4C, 0x3E9 },
		{ 0x50, 0x644 }, { 0x54, 0x168 }, { 0x58, 0x3E9 }, { 0x5C, 0 },
		{ 0x60, 0xFFFFFFFF }, { 0xB8, 0x3E9 }, { 0xBC, 0x7CB }, { 0xC0, 0x50 },
		{ 0xC4, 0x3E9 }, { 0xC8, 0x7AC }, { 0xCC, 0x1B }, { 0xD0, 0 },
		{ 0xD4, 0x7C7 }, { 0xD8, 4 }, { 0xDC, 0 }, { 0x7C7, 1 },
		{ 0x81B - 8, 0x80AB8665 }, { 0x81B - 4, 0 } };
	for (const auto& word : words)
		EXPECT_EQ(ReadLE32(&block[word[0]]), word[1]) << std::hex << word[0];
	for (uint32 offset = 0x10; offset < 0x44; offset += 4)
		EXPECT_EQ(ReadLE32(&block[offset]), 0u) << offset;
	// Everything unused up to the data keeps the phased pattern.
	for (uint32 offset = 0xE0; offset < 0x7AC; offset += 4)
		ASSERT_EQ(ReadLE32(&block[offset]), PatternWordAt(offset)) << offset;
	EXPECT_EQ(std::string(reinterpret_cast<char*>(&block[0x7AC])),
		"application/x-vnd.test-app");
	const std::vector<uint8> tableStart = { 0x53, 0x4D, 0x49, 0x4D, 1, 0, 0, 0,
		1, 0, 0, 0, 0x0D, 0 };
	EXPECT_TRUE(std::equal(
		tableStart.begin(), tableStart.end(), block.begin() + 0x7CB));
	// A short tail counts in the checksum as a smaller big-endian number.
	const uint8 tail[6] = { 0, 0, 0, 1, 0xAB, 0xCD };
	EXPECT_EQ(InfoTableChecksum(tail, 6), 0x0000ABCEu);
}


TEST(ResourceWriter, RefusesWhatTheFormatCannotHoldInsteadOfCuttingIt)
{
	const std::string longest(65534, 'n');
	struct Case {
		const char*				  what;
		std::vector<ResourceItem> items;
	};
	const Case refused[] = {
		{ "too many",
			std::vector<ResourceItem>(
				kMaxResourceCount + 1, Item('DATA', 1, "", Text("x"))) },
		{ "name too long",
			{ ResourceItem { 'DATA', 1, longest + "n", Text("x") } } },
		{ "zero in a name",
			{ ResourceItem { 'DATA', 1, std::string("a\0b", 3), Text("x") } } },
	};
	for (const Case& c : refused) {
		EXPECT_NE(ResourceItemsProblem(c.items), "") << c.what;
		EXPECT_TRUE(BuildResourceBlock(c.items).empty()) << c.what;
		EXPECT_TRUE(BuildInfoTable(c.items).empty()) << c.what;
	}

	// The longest name that fits comes back whole; a type that comes back
	// after another starts a block of its own.
	const std::vector<ResourceItem> items = { ResourceItem { 'DATA', 1, longest,
												  Text("x") },
		Item('APPF', 1, "", Text("y")), Item('DATA', 2, "c", Text("z")) };
	EXPECT_EQ(ResourceItemsProblem(items), "");
	EXPECT_EQ(
		BuildInfoTable(items).size(), size_t(3 * (4 + 10 + 8) + 65535 + 2 + 8));
	std::vector<uint8> block = BuildResourceBlock(items);
	ResourceFile	   file;
	ASSERT_EQ(file.SetTo(block.data(), block.size(), "long name"), B_OK)
		<< file.ErrorText();
	ASSERT_EQ(file.CountResources(), 3);
	EXPECT_EQ(file.ResourceAt(0)->name, longest);
	EXPECT_EQ(file.ResourceAt(1)->name, "");
	EXPECT_EQ(file.ResourceAt(2)->type, type_code('DATA'));
	EXPECT_EQ(file.ResourceAt(2)->id, 2);
}


TEST(ResourceFile, ReadsBareBlocksResourceFilesAndExecutables)
{
	const std::vector<uint8> block = SampleBlock();
	ResourceFile			 file;
	ASSERT_EQ(Read(block, file), B_OK) << file.ErrorText();
	EXPECT_STREQ(file.ErrorText(), "");
	ASSERT_EQ(file.CountResources(), 2);
	EXPECT_EQ(file.FindResource('APPF', "BEOS:APP_FLAGS"), file.ResourceAt(1));
	EXPECT_EQ(file.FindResource('APPF', "BEOS:APP_SIG"), nullptr);
	EXPECT_EQ(file.FindResource('MIMS', 7), nullptr);
	EXPECT_EQ(file.ResourceAt(2), nullptr);
	EXPECT_EQ(file.ResourceAt(-1), nullptr);

	// An info that names no resource is skipped, and the resource it no
	// longer describes dropped.
	const uint32 table = ReadLE32(&block[kInfoTableOffsetField]);
	ResourceFile skipped;
	ASSERT_EQ(Read(WithWord(block, table + 43, 9, true), skipped), B_OK)
		<< skipped.ErrorText();
	EXPECT_EQ(skipped.BlockOffset(), 4u);
	ASSERT_EQ(skipped.CountResources(), 1);
	EXPECT_EQ(skipped.ResourceAt(0)->name, "BEOS:APP_SIG");

	// A linked program without resources, and none at all.
	ResourceFile program;
	EXPECT_EQ(program.SetTo("/bin/true"), B_OK) << program.ErrorText();
	EXPECT_EQ(program.CountResources(), 0);
	ResourceFile missing;
	EXPECT_NE(missing.InitCheck(), B_OK);
	EXPECT_EQ(missing.SetTo("/nonexistent/kalvex"), B_ENTRY_NOT_FOUND);
	EXPECT_NE(std::string(missing.ErrorText()).find("/nonexistent/kalvex"),
		std::string::npos);
}


TEST(ResourceFile, RefusesDamagedInputNamingItAndKeepsNothing)
{
	const std::vector<uint8> block = SampleBlock();
	const uint32			 table = ReadLE32(&block[kInfoTableOffsetField]);
	// Every entry covers all from the first datum to the end: each lies
	// inside the file, together they would not.
	std::vector<uint8>		 overlap = SampleBlock(40);
	const uint32			 first = ReadLE32(&overlap[kIndexEntriesOffset]);
	for (uint32 i = 0; i < 40; i++) {
		uint8* entry = &overlap[kIndexEntriesOffset + i * kIndexEntrySize];
		WriteLE32(entry, first);
		WriteLE32(entry + 4, uint32(overlap.size()) - first);
	}
	std::ifstream	   input("/bin/true", std::ios::binary);
	std::vector<uint8> elf((std::istreambuf_iterator<char>(input)),
		std::istreambuf_iterator<char>());
	ASSERT_GT(elf.size(), 64u);
	std::vector<uint8> farSections = elf;
	WriteLE32(&farSections[40], uint32(elf.size()));
	// A bare file header that claims a larger header than the file holds.
	std::vector<uint8> bigHeader(elf.begin(), elf.begin() + 64);
	std::vector<uint8> wrongClass = bigHeader;
	wrongClass[4] = 3;
	for (int field : { 32, 36, 40, 44 })
		WriteLE32(&bigHeader[field], 0);
	WriteLE16(&bigHeader[52], 96);

	struct Case {
		std::string		   what;
		std::vector<uint8> bytes;
		status_t		   status;
		const char*		   says;
	};
	std::vector<Case> cases = {
		{ "empty", {}, B_BAD_TYPE, "neither" },
		{ "text", { 'h', 'e', 'l', 'l', 'o' }, B_BAD_TYPE, "neither" },
		{ "big-endian", WithWord(block, 0, __builtin_bswap32(kResourcesMagic)),
			B_BAD_TYPE, "big-endian" },
		{ "magic", WithWord(block, 0, 0x12345678), B_BAD_DATA,
			"bad magic 0x12345678" },
		{ "count", WithWord(block, 4, 10001), B_BAD_DATA, "10001" },
		{ "data past the end",
			WithWord(block, kIndexEntriesOffset + 4, 0xFFFFFFF0), B_BAD_DATA,
			"resource 1" },
		{ "overlap", overlap, B_BAD_DATA, "overlap" },
		{ "table past the end",
			WithWord(block, kInfoTableSizeField, 0xFFFFFFF0), B_BAD_DATA,
			"outside" },
		{ "table too small", WithWord(block, kInfoTableSizeField, 4),
			B_BAD_DATA, "outside" },
		{ "described twice", WithWord(block, table + 43, 1, true), B_BAD_DATA,
			"twice" },
		// The first name's size and its last letters with its end.
		{ "name past the table", WithWord(block, table + 12, 0x4542FFFF, true),
			B_BAD_DATA, "runs past" },
		{ "name unterminated", WithWord(block, table + 23, 0x58474953, true),
			B_BAD_DATA, "not terminated" },
		{ "no such ELF class", wrongClass, B_BAD_TYPE, "kind" },
		{ "sections past the end", farSections, B_BAD_DATA, "ELF headers" },
		{ "ELF header too large", bigHeader, B_BAD_DATA, "ELF headers" },
	};
	for (uint32 field : { 8u, 12u, kResourceIndexOffset, kIndexSectionSizeField,
			 kUnknownOffsetField, kUnknownSizeField }) {
		cases.push_back({ "index header word " + std::to_string(field),
			WithWord(block, field, 0x100), B_BAD_DATA, "index header" });
	}
	for (size_t length = 0; length < block.size(); length++) {
		cases.push_back({ "block cut at " + std::to_string(length),
			std::vector<uint8>(block.begin(), block.begin() + length),
			length < 4 ? B_BAD_TYPE : B_BAD_DATA, "" });
	}
	for (size_t length :
		{ size_t(20), size_t(63), size_t(200), elf.size() - 1 }) {
		cases.push_back({ "ELF cut at " + std::to_string(length),
			std::vector<uint8>(elf.begin(), elf.begin() + length), B_BAD_DATA,
			"ELF headers" });
	}
	for (size_t i = table; i < block.size(); i++) {
		cases.push_back(
			{ "table byte " + std::to_string(i), block, B_BAD_DATA, "" });
		cases.back().bytes[i] ^= 0x10;
	}

	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		ResourceFile file;
		EXPECT_EQ(Read(c.bytes, file), c.status);
		EXPECT_EQ(file.CountResources(), 0);
		std::string text = file.ErrorText();
		EXPECT_EQ(text.rfind("sample.rsrc: ", 0), 0u) << text;
		EXPECT_NE(text.find(c.says), std::string::npos) << text;
	}
}
