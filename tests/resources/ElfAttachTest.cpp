// Attaching the resources to a real executable: the block lands on the
// first 4096-byte boundary after the ELF image, the program still runs, and
// a second run replaces the block instead of adding one.

#include "ElfAppender.h"
#include "ResourceDefinition.h"
#include "ResourceWriter.h"

#include <private/ElfImage.h>
#include <private/ResourceFile.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <unistd.h>

using namespace BPrivate;
namespace fs = std::filesystem;

namespace {

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
		ResourceDefinition definition;
		ASSERT_TRUE(
			definition.ParseFile(KX_SOURCE_DIR "/resources/Kalvex.rdef"))
			<< definition.ErrorText();
		fBlock = BuildResourceBlock(definition.Items());
	}

	void
	TearDown() override
	{
		fs::remove_all(fFolder);
	}

	fs::path		   fFolder;
	fs::path		   fProgram;
	std::vector<uint8> fBlock;
};

} // namespace


TEST_F(ElfAttach, PutsTheBlockOnThePageAfterTheImageAndTheProgramRuns)
{
	const std::vector<uint8> original = Contents(fProgram);
	// A linked program ends with its section header table, so its image
	// ends where the file ends.
	uint64					 imageEnd = 0;
	ASSERT_EQ(
		FindElfImageEnd(original.data(), original.size(), &imageEnd), B_OK);
	ASSERT_EQ(imageEnd, original.size());
	const size_t expectedOffset = (original.size() + 4095) / 4096 * 4096;
	ResourceFile before;
	EXPECT_EQ(before.SetTo(fProgram.c_str()), B_OK) << before.ErrorText();
	EXPECT_EQ(before.CountResources(), 0);

	std::string error;
	ASSERT_TRUE(AttachResourceBlockToFile(fProgram.c_str(), fBlock, &error))
		<< error;
	std::vector<uint8> attached = Contents(fProgram);
	ASSERT_EQ(attached.size(), expectedOffset + fBlock.size());
	EXPECT_TRUE(std::equal(original.begin(), original.end(), attached.begin()));
	for (size_t i = original.size(); i < expectedOffset; i++)
		ASSERT_EQ(attached[i], 0) << "padding byte " << i;
	EXPECT_TRUE(std::equal(
		fBlock.begin(), fBlock.end(), attached.begin() + expectedOffset));

	ResourceFile file;
	ASSERT_EQ(file.SetTo(fProgram.c_str()), B_OK) << file.ErrorText();
	EXPECT_EQ(file.BlockOffset(), expectedOffset);
	EXPECT_EQ(file.CountResources(), 7);

	EXPECT_TRUE(fs::status(fProgram).permissions()
		== fs::status("/bin/true").permissions());
	EXPECT_EQ(std::system(fProgram.c_str()), 0);

	// Attaching again replaces the block: the file is byte for byte the same.
	ASSERT_TRUE(AttachResourceBlockToFile(fProgram.c_str(), fBlock, &error))
		<< error;
	EXPECT_EQ(Contents(fProgram), attached);
}


TEST_F(ElfAttach, LeavesForeignTrailingDataAndNonElfFilesAlone)
{
	std::vector<uint8> original = Contents(fProgram);
	std::vector<uint8> trailing = original;
	const char*		   note = "someone else's data";
	trailing.insert(trailing.end(), note, note + strlen(note));
	std::vector<uint8> result;
	std::string		   error;
	EXPECT_FALSE(
		AttachResourceBlock(trailing, fBlock, "prog", &result, &error));
	EXPECT_NE(error.find("prog"), std::string::npos);

	std::vector<uint8> text = { 'h', 'e', 'l', 'l', 'o', '\n' };
	EXPECT_FALSE(
		AttachResourceBlock(text, fBlock, "notes.txt", &result, &error));
	EXPECT_NE(error.find("notes.txt"), std::string::npos);

	// Section headers pointing past the end: refused, never read.
	std::vector<uint8> damaged = original;
	WriteLE32(&damaged[40], uint32(damaged.size())); // e_shoff, ELF64
	EXPECT_FALSE(AttachResourceBlock(damaged, fBlock, "prog", &result, &error));
	ResourceFile file;
	EXPECT_EQ(file.SetTo(damaged.data(), damaged.size(), "prog"), B_BAD_DATA);
}


TEST(ElfImage, RefusesEveryTruncatedHeader)
{
	std::ifstream	   input("/bin/true", std::ios::binary);
	std::vector<uint8> program((std::istreambuf_iterator<char>(input)),
		std::istreambuf_iterator<char>());
	ASSERT_GT(program.size(), 4096u);
	// Cut inside the headers and inside the section header table.
	for (size_t length : { size_t(0), size_t(4), size_t(20), size_t(63),
			 size_t(200), program.size() - 1 }) {
		std::unique_ptr<uint8[]> exact(new uint8[length + 1]);
		std::copy(program.begin(), program.begin() + length, exact.get());
		uint64 end = 0;
		EXPECT_NE(FindElfImageEnd(exact.get(), length, &end), B_OK) << length;
	}

	// A bare file header that claims a larger header than the file holds.
	std::vector<uint8> header(program.begin(), program.begin() + 64);
	WriteLE32(&header[32], 0); // no program headers
	WriteLE32(&header[36], 0);
	WriteLE32(&header[40], 0); // no section headers
	WriteLE32(&header[44], 0);
	WriteLE16(&header[52], 96);
	uint64 end = 0;
	EXPECT_EQ(FindElfImageEnd(header.data(), 64, &end), B_BAD_DATA);
	WriteLE16(&header[52], 64);
	EXPECT_EQ(FindElfImageEnd(header.data(), 64, &end), B_OK);
	EXPECT_EQ(end, 64u);
}
