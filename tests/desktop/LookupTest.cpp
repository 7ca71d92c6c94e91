#include <gtest/gtest.h>

#include <FindDirectory.h>
#include <TranslationUtils.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>

#include <climits>
#include <unistd.h>

#include "DataDirectory.h"
#include "display/DisplayScale.h"

namespace {

namespace fs = std::filesystem;

TEST(DataDirectoryTest, FollowsTheExecutable)
{
	// Moving an installation moves its data folder with it.
	std::string a = BPrivate::AppDataDirectoryFor("/opt/one/bin/kalvex");
	std::string b = BPrivate::AppDataDirectoryFor("/srv/two/bin/kalvex");
	EXPECT_EQ(a.substr(0, 9), "/opt/one/");
	EXPECT_EQ(b.substr(0, 9), "/srv/two/");
	EXPECT_EQ(a.substr(8), b.substr(8));
	EXPECT_EQ(fs::path(a).filename(), "kalvex");
	EXPECT_EQ(a.find(".."), std::string::npos);

	char path[PATH_MAX];
	ASSERT_EQ(
		find_directory(B_APP_DATA_DIRECTORY, 0, false, path, sizeof(path)),
		B_OK);
	EXPECT_EQ(std::string(path), BPrivate::AppDataDirectory());
	EXPECT_EQ(
		find_directory(B_APP_DATA_DIRECTORY, 0, false, path, 3), B_BAD_VALUE);
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

TEST(DisplayScaleTest, WholeNumbersFromTheScreensDensity)
{
	using BPrivate::ScaleForDpi;
	EXPECT_EQ(ScaleForDpi(96), 1);
	EXPECT_EQ(ScaleForDpi(144), 1);
	EXPECT_EQ(ScaleForDpi(192), 2);
	EXPECT_EQ(ScaleForDpi(189.5f), 2); // a nominal 192 as screens report it
	EXPECT_EQ(ScaleForDpi(288), 3);
	// Nothing usable reported: no enlargement.
	EXPECT_EQ(ScaleForDpi(0), 1);
	EXPECT_EQ(ScaleForDpi(-5), 1);
	EXPECT_EQ(ScaleForDpi(NAN), 1);
	EXPECT_EQ(ScaleForDpi(1e9f), 1);
}

TEST(DisplayScaleTest, ScreenPixelsMapIntoTheApplicationPixelTheyShow)
{
	using BPrivate::FromScreen;
	EXPECT_EQ(FromScreen(7, 1), 7);
	EXPECT_EQ(FromScreen(-7, 1), -7);
	EXPECT_EQ(FromScreen(0, 2), 0);
	EXPECT_EQ(FromScreen(1, 2), 0);
	EXPECT_EQ(FromScreen(319, 2), 159);
	EXPECT_EQ(FromScreen(-1, 2), -1);
	EXPECT_EQ(FromScreen(-2, 2), -1);
	EXPECT_EQ(FromScreen(-3, 2), -2);
}

} // namespace
