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
	ResourceFile before;
	EXPECT_EQ(before.SetTo(fProgram.c_str()), B_OK) << before.ErrorText();
	EXPECT_EQ(before.CountResources(), 0);

	std::string error;
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


TEST_F(ElfAttach, RefusesForeignTrailingDataNonElfFilesAndDamagedHeaders)
{
	std::vector<uint8> trailing = fOriginal;
	const char*		   note = "someone else's data";
	trailing.insert(trailing.end(), note, note + strlen(note));
	// Section headers pointing past the end: refused, never read.
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
	ResourceFile file;
	EXPECT_EQ(file.SetTo(damaged.data(), damaged.size(), "prog"), B_BAD_DATA);

	// Cut inside the headers and inside the section header table, each in a
	// buffer of exactly that size.
	for (size_t length : { size_t(0), size_t(4), size_t(20), size_t(63),
			 size_t(200), fOriginal.size() - 1 }) {
		std::unique_ptr<uint8[]> exact(new uint8[length + 1]);
		std::copy(fOriginal.begin(), fOriginal.begin() + length, exact.get());
		uint64 end = 0;
		EXPECT_NE(FindElfImageEnd(exact.get(), length, &end), B_OK) << length;
	}

	// A bare file header that claims a larger header than the file holds.
	std::vector<uint8> header(fOriginal.begin(), fOriginal.begin() + 64);
	for (int field : { 32, 36, 40, 44 }) // no program or section headers
		WriteLE32(&header[field], 0);
	WriteLE16(&header[52], 96);
	uint64 end = 0;
	EXPECT_EQ(FindElfImageEnd(header.data(), 64, &end), B_BAD_DATA);
	WriteLE16(&header[52], 64);
	EXPECT_EQ(FindElfImageEnd(header.data(), 64, &end), B_OK);
	EXPECT_EQ(end, 64u);
}
