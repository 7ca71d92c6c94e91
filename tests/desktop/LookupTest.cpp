#include <gtest/gtest.h>

#include <FindDirectory.h>
#include <TranslationUtils.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include <climits>
#include <unistd.h>

#include "DataDirectory.h"
#include "display/DisplayScale.h"

namespace {

namespace fs = std::filesystem;

// Where the data folder lies is played by the installed game
// (install-and-start.sh, failures.sh); only a short buffer is not.
TEST(DataDirectoryTest, FindDirectoryFillsOnlyABufferLargeEnough)
{
	char path[PATH_MAX];
	ASSERT_EQ(
		find_directory(B_APP_DATA_DIRECTORY, 0, false, path, sizeof(path)),
		B_OK);
	EXPECT_EQ(std::string(path), BPrivate::AppDataDirectory());
	EXPECT_EQ(find_directory(
				  B_APP_DATA_DIRECTORY, 0, false, path, (int32)strlen(path)),
		B_BAD_VALUE);
	EXPECT_EQ(find_directory(B_APP_DATA_DIRECTORY, 0, false, nullptr, 10),
		B_BAD_VALUE);
}

// A working directory and the test program's data folder, each of which
// may hold its own "bmp/probe.bmp".
class ImageLookupTest : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		fOldCwd = fs::current_path();
		fData = BPrivate::AppDataDirectory();
		ASSERT_FALSE(fData.empty());
		fs::remove_all(fData);
		fCwd = fs::temp_directory_path()
			/ ("kx-lookup-" + std::to_string(getpid()));
		fs::create_directories(fCwd / "bmp");
		fs::create_directories(fData / "bmp");
		fs::current_path(fCwd);
	}

	void
	TearDown() override
	{
		fs::current_path(fOldCwd);
		fs::remove_all(fCwd);
		// The folder and its now empty parent, both made by SetUp.
		fs::remove_all(fData);
		fs::remove(fData.parent_path());
	}

	// The board picture is 160 wide, a peg picture 17.
	void
	Put(const fs::path& folder, const char* picture)
	{
		fs::copy_file(fs::path(KX_SOURCE_DIR) / "bmp" / picture,
			folder / "bmp/probe.bmp", fs::copy_options::overwrite_existing);
	}

	static float
	WidthOf(const char* path)
	{
		std::unique_ptr<BBitmap> bitmap(BTranslationUtils::GetBitmap(path));
		return bitmap ? bitmap->Bounds().Width() + 1 : 0;
	}

	fs::path fOldCwd;
	fs::path fCwd;
	fs::path fData;
};

TEST_F(ImageLookupTest, WorkingDirectoryFirstThenTheDataFolder)
{
	EXPECT_EQ(WidthOf("bmp/probe.bmp"), 0);

	Put(fData, "red.bmp");
	EXPECT_EQ(WidthOf("bmp/probe.bmp"), 17);

	Put(fCwd, "board.jpg");
	EXPECT_EQ(WidthOf("bmp/probe.bmp"), 160);

	// A damaged copy in the working directory does not hide a good one.
	{
		std::ofstream(fCwd / "bmp/probe.bmp") << "not a picture";
	}
	EXPECT_EQ(WidthOf("bmp/probe.bmp"), 17);

	// An absolute path is taken as it is.
	EXPECT_EQ(WidthOf((fCwd / "bmp/probe.bmp").c_str()), 0);
}

TEST(DisplayScaleTest, WholeScalesFromTheDensityAndScreenPixelsBackToTheirs)
{
	// A nominal 192 as screens report it; nothing usable reported: no
	// enlargement.
	const float dpis[][2] = { { 96, 1 }, { 144, 1 }, { 192, 2 }, { 189.5f, 2 },
		{ 288, 3 }, { 0, 1 }, { -5, 1 }, { NAN, 1 }, { 1e9f, 1 } };
	for (const auto& dpi : dpis)
		EXPECT_EQ(BPrivate::ScaleForDpi(dpi[0]), dpi[1]) << dpi[0];
	// Screen pixel, scale, the application pixel it shows.
	const int32 pixels[][3] = { { 7, 1, 7 }, { -7, 1, -7 }, { 0, 2, 0 },
		{ 1, 2, 0 }, { 319, 2, 159 }, { -1, 2, -1 }, { -2, 2, -1 },
		{ -3, 2, -2 } };
	for (const auto& p : pixels)
		EXPECT_EQ(BPrivate::FromScreen(p[0], p[1]), p[2])
			<< p[0] << " " << p[1];
}

} // namespace
