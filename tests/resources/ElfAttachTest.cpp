// The application's own resources, and attaching them to a real
// executable: the block lands on the first 4096-byte boundary after the ELF
// image, the program still runs, and a second run replaces the block
// instead of adding one.

#include "ElfAppender.h"
#include "ResourceDefinition.h"
#include "ResourceWriter.h"

#include <private/ElfImage.h>
#include <private/ResourceFile.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <unistd.h>

using namespace BPrivate;
namespace fs = std::filesystem;

namespace {

std::vector<uint8>
Text(const char* text)
{
	return std::vector<uint8>(text, text + strlen(text) + 1);
}

std::vector<uint8>
Contents(const fs::path& path)
{
	std::ifstream input(path, std::ios::binary);
	return std::vector<uint8>((std::istreambuf_iterator<char>(input)),
		std::istreambuf_iterator<char>());
}

class ElfAttach : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		fFolder = fs::temp_directory_path()
			/ ("kx-elf-attach-" + std::to_string(getpid()));
		fs::create_directories(fFolder);
		fProgram = fFolder / "true";
		fs::copy_file(
			"/bin/true", fProgram, fs::copy_options::overwrite_existing);
		fOriginal = Contents(fProgram);
		ResourceDefinition definition;
		ASSERT_TRUE(
			definition.ParseFile(KX_SOURCE_DIR "/resources/Kalvex.rdef"))
			<< definition.ErrorText();
		fItems = definition.Items();
		fBlock = BuildResourceBlock(fItems);
	}

	void
	TearDown() override
	{
		fs::remove_all(fFolder);
	}

	fs::path				  fFolder;
	fs::path				  fProgram;
	std::vector<uint8>		  fOriginal;
	std::vector<ResourceItem> fItems;
	std::vector<uint8>		  fBlock;
};

} // namespace


TEST_F(ElfAttach, PutsTheBlockOnThePageAfterTheImageAndTheProgramRuns)
{
	// A linked program ends with its section header table, so its image
	// ends where the file ends.
	uint64 imageEnd = 0;
	ASSERT_EQ(
		FindElfImageEnd(fOriginal.data(), fOriginal.size(), &imageEnd), B_OK);
	ASSERT_EQ(imageEnd, fOriginal.size());
	const size_t offset = (fOriginal.size() + 4095) / 4096 * 4096;

	std::string	 error;
	ASSERT_TRUE(AttachResourceBlockToFile(fProgram.c_str(), fBlock, &error))
		<< error;
	std::vector<uint8> expected = fOriginal;
	expected.resize(offset, 0);
	expected.insert(expected.end(), fBlock.begin(), fBlock.end());
	std::vector<uint8> attached = Contents(fProgram);
	ASSERT_TRUE(attached == expected);

	ResourceFile file;
	ASSERT_EQ(file.SetTo(fProgram.c_str()), B_OK) << file.ErrorText();
	EXPECT_EQ(file.BlockOffset(), offset);
	EXPECT_EQ(file.CountResources(), 7);
	EXPECT_TRUE(fs::status(fProgram).permissions()
		== fs::status("/bin/true").permissions());
	EXPECT_EQ(std::system(fProgram.c_str()), 0);

	// Attaching again replaces the block: the file is byte for byte the same.
	ASSERT_TRUE(AttachResourceBlockToFile(fProgram.c_str(), fBlock, &error))
		<< error;
	EXPECT_TRUE(Contents(fProgram) == attached);
}


// Damaged executables are refused by the reader's own tests, which share
// the header walk.
TEST_F(ElfAttach, RefusesForeignTrailingDataNonElfFilesAndDamagedHeaders)
{
	// Someone else's data right after the image, and on the page boundary
	// where a block would lie.
	const char*		   note = "someone else's data";
	std::vector<uint8> trailing = fOriginal;
	trailing.insert(trailing.end(), note, note + strlen(note));
	std::vector<uint8> onBoundary = fOriginal;
	onBoundary.resize((fOriginal.size() + 4095) / 4096 * 4096, 0);
	onBoundary.insert(onBoundary.end(), note, note + strlen(note));
	std::vector<uint8> damaged = fOriginal;
	WriteLE32(&damaged[40], uint32(damaged.size())); // e_shoff, ELF64
	struct Case {
		std::vector<uint8> bytes;
		const char*		   says;
	} cases[] = {
		{ trailing, "not a resource block" },
		{ onBoundary, "not a resource block" },
		{ { 'h', 'e', 'l', 'l', 'o', '\n' }, "not a little-endian ELF" },
		{ damaged, "damaged" },
	};
	for (const Case& c : cases) {
		std::vector<uint8> result;
		std::string		   error;
		EXPECT_FALSE(
			AttachResourceBlock(c.bytes, fBlock, "prog", &result, &error));
		EXPECT_EQ(error.rfind("prog: ", 0), 0u) << error;
		EXPECT_NE(error.find(c.says), std::string::npos) << error;
	}
}


TEST_F(ElfAttach, TheApplicationsResourcesComeBackWithTheirContents)
{
	ResourceFile file;
	ASSERT_EQ(file.SetTo(fBlock.data(), fBlock.size(), "Kalvex.rdef"), B_OK)
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
		EXPECT_EQ(item->data, fItems[i].data);
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
