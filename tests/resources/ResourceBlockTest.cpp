// The writer's block, byte for byte against the format's worked example,
// and the application's own seven resources through the reader.

#include "ResourceDefinition.h"
#include "ResourceWriter.h"

#include <private/ResourceFile.h>
#include <private/ResourceFormat.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

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

uint32
WordAt(const std::vector<uint8>& bytes, size_t offset)
{
	return ReadLE32(&bytes[offset]);
}

std::vector<ResourceItem>
KalvexResources()
{
	ResourceDefinition definition;
	EXPECT_TRUE(definition.ParseFile(KX_SOURCE_DIR "/resources/Kalvex.rdef"))
		<< definition.ErrorText();
	return definition.Items();
}

} // namespace


TEST(ResourceWriter, RebuildsTheWorkedExampleByteForByte)
{
	std::vector<uint8> flags = { 1, 0, 0, 0 };
	std::vector<uint8> block = BuildResourceBlock(
		{ Item('MIMS', 1, "BEOS:APP_SIG", Text("application/x-vnd.test-app")),
			Item('APPF', 1, "BEOS:APP_FLAGS", flags) });
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
		EXPECT_EQ(WordAt(block, word[0]), word[1]) << std::hex << word[0];
	for (uint32 offset = 0x10; offset < 0x44; offset += 4)
		EXPECT_EQ(WordAt(block, offset), 0u) << offset;
	// Everything unused up to the data keeps the phased pattern.
	for (uint32 offset = 0xE0; offset < 0x7AC; offset += 4)
		ASSERT_EQ(WordAt(block, offset), PatternWordAt(offset)) << offset;
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


TEST(KalvexResources, RoundTripThroughTheReaderWithTheirContents)
{
	std::vector<ResourceItem> items = KalvexResources();
	std::vector<uint8>		  block = BuildResourceBlock(items);
	ResourceFile			  file;
	ASSERT_EQ(file.SetTo(block.data(), block.size(), "Kalvex.rdef"), B_OK)
		<< file.ErrorText();
	// The message is empty; of the version records only the application's
	// variety is set, to all ones.
	std::vector<uint8> version(680, 0);
	std::fill(version.begin() + 12, version.begin() + 16, 0xFF);
	struct Expected {
		type_code		   type;
		int32			   id;
		const char*		   name;
		std::vector<uint8> data;
	} expected[] = {
		{ 'MIMS', 1, "BEOS:APP_SIG", Text("application/x-vnd-Kalvex") },
		{ 'MIMS', 2, "BEOS:TYPE", Text("application/x-vnd.Be-elfexecutable") },
		{ 'MSGG', 1, "BEOS:FILE_TYPES",
			{ 0x31, 0x42, 0x4F, 0x46, 0x01, 0x00, 0x00, 0x12, 0x12, 0x00, 0x00,
				0x00, 0, 0, 0, 0, 0x01, 0x00 } },
		{ 'APPV', 1, "BEOS:APP_VERSION", version },
		{ 'ICON', 101, "BEOS:L:STD_ICON", {} },
		{ 'MICN', 101, "BEOS:M:STD_ICON", {} },
		{ 'APPF', 1, "BEOS:APP_FLAGS", { 0, 0, 0, 0 } },
	};
	ASSERT_EQ(file.CountResources(), 7);
	for (int i = 0; i < 7; i++) {
		SCOPED_TRACE(expected[i].name);
		const ResourceItem* item = file.ResourceAt(i);
		EXPECT_EQ(item->type, expected[i].type);
		EXPECT_EQ(item->id, expected[i].id);
		EXPECT_EQ(item->name, expected[i].name);
		EXPECT_EQ(item->data, items[i].data);
		if (!expected[i].data.empty()) {
			EXPECT_EQ(item->data, expected[i].data);
		}
	}
	EXPECT_EQ(file.FindResource('MIMS', "BEOS:APP_SIG"), file.ResourceAt(0));

	// The icons are opaque, with their number of colours.
	struct Icon {
		type_code type;
		size_t	  size;
		size_t	  colors;
	};
	for (Icon icon : { Icon { 'ICON', 1024, 22 }, Icon { 'MICN', 256, 17 } }) {
		const std::vector<uint8>& pixels =
			file.FindResource(icon.type, 101)->data;
		std::set<uint8> distinct(pixels.begin(), pixels.end());
		EXPECT_EQ(pixels.size(), icon.size);
		EXPECT_EQ(distinct.size(), icon.colors);
		EXPECT_EQ(distinct.count(255), 0u) << "the transparent index is used";
	}
}
