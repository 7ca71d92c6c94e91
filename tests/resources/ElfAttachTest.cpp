// Attaching the resources to a real executable: the block lands on the
// first 4096-byte boundary after the ELF image, the program still runs, and
// a second run replaces the block instead of adding one.

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
		fOriginal = Contents(fProgram);
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
	std::vector<uint8> fOriginal;
	std::vector<uint8> fBlock;
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
	std::vector<uint8> trailing = fOriginal;
	const char*		   note = "someone else's data";
	trailing.insert(trailing.end(), note, note + strlen(note));
	std::vector<uint8> damaged = fOriginal;
	WriteLE32(&damaged[40], uint32(damaged.size())); // e_shoff, ELF64
	struct Case {
		const char*		   name;
		std::vector<uint8> bytes;
	} cases[] = {
		{ "prog", trailing },
		{ "notes.txt", { 'h', 'e', 'l', 'l', 'o', '\n' } },
		{ "damaged", damaged },
	};
	for (const Case& c : cases) {
		std::vector<uint8> result;
		std::string		   error;
		EXPECT_FALSE(
			AttachResourceBlock(c.bytes, fBlock, c.name, &result, &error));
		EXPECT_NE(error.find(c.name), std::string::npos) << error;
	}
}
