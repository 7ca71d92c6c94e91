// Damaged, odd and hostile image files: each is loaded, keyed and drawn as
// the board would, or refused, and never read past its end. The sanitizer
// builds run the same cases to catch reads outside a buffer.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "GameFixture.h"
#include "ImageCheck.h"

namespace fs = std::filesystem;

namespace {

void
Put(std::string& out, uint32 value, int32 bytes = 4)
{
	for (int32 i = 0; i < bytes; i++)
		out += (char)((value >> (8 * i)) & 0xff);
}

typedef std::function<uint32(int32 x, int32 y)> PixelFunction; // 0xRRGGBB

// A bottom-up BMP of 24 bits a pixel, or of 8 with a palette, the pixel
// values then taken as palette indices. A negative height writes the rows
// top-down.
std::string
Bmp(int32 width, int32 height, int32 bits, PixelFunction pixel,
	const std::vector<uint32>& palette = {})
{
	int32		 rows = height < 0 ? -height : height;
	int32		 rowBytes = ((width * bits / 8) + 3) & ~3;
	uint32		 offset = 14 + 40 + (uint32)palette.size() * 4;
	std::string	 out = "BM";
	// Each header field with its width in bytes.
	const uint32 header[][2] = { { offset + (uint32)(rowBytes * rows), 4 },
		{ 0, 4 }, { offset, 4 }, { 40, 4 }, { (uint32)width, 4 },
		{ (uint32)height, 4 }, { 1, 2 }, { (uint32)bits, 2 }, { 0, 4 },
		{ (uint32)(rowBytes * rows), 4 }, { 2835, 4 }, { 2835, 4 },
		{ (uint32)palette.size(), 4 }, { 0, 4 } };
	for (const auto& field : header)
		Put(out, field[0], (int32)field[1]);
	for (uint32 color : palette)
		Put(out, color);
	for (int32 r = 0; r < rows; r++) {
		int32		y = height < 0 ? r : rows - 1 - r;
		std::string line;
		for (int32 x = 0; x < width; x++)
			Put(line, pixel(x, y), bits / 8);
		line.resize((size_t)rowBytes, '\0');
		out += line;
	}
	return out;
}

const uint32 kMagenta = 0xff00ff;

// A peg of 17 by 17: a disc of the colour on the key.
PixelFunction
Peg(uint32 color, uint32 key)
{
	return [=](int32 x, int32 y) {
		return (x - 8) * (x - 8) + (y - 8) * (y - 8) <= 49 ? color : key;
	};
}

// An 8-bit peg: green on magenta.
std::string
EightBitPeg()
{
	return Bmp(17, 17, 8, Peg(1, 0), { kMagenta, 0x00ff00 });
}

std::string
ReadFile(const fs::path& path)
{
	std::ifstream in(path, std::ios::binary);
	return std::string(
		std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A folder of its own for the files of one test.
class TempFolder {
public:
	TempFolder()
	{
		char pattern[] = "/tmp/kx-bad-images-XXXXXX";
		EXPECT_NE(mkdtemp(pattern), nullptr);
		fPath = pattern;
	}

	~TempFolder() { fs::remove_all(fPath); }

	std::string
	Write(const std::string& name, const std::string& contents)
	{
		fs::path path = fPath / name;
		fs::create_directories(path.parent_path());
		std::ofstream(path, std::ios::binary) << contents;
		return path.string();
	}

	fs::path fPath;
};


uint8
AlphaAt(const BBitmap* image, int32 x, int32 y)
{
	return static_cast<const uint8*>(
		image->Bits())[y * image->BytesPerRow() + x * 4 + 3];
}


TEST(ImageFiles, DamagedFilesAreRefusedOddOnesKeyedAndNoneReadPast)
{
	auto		white = [](int32, int32) { return 0xffffffu; };
	std::string peg = Bmp(17, 17, 24, Peg(0xff0000, kMagenta));
	// A header larger than the file, and pixels said to start past its end.
	std::string bigHeader = Bmp(2, 2, 24, white);
	bigHeader.replace(14, 4, "\xf0\xff\xff\x7f");
	std::string farPixels = Bmp(2, 2, 24, white);
	farPixels.replace(10, 3, "\xff\xff\xff");

	// The size of the picture it must give with the alpha of its corner,
	// kRefused, or kEither for anything but a read past the end.
	const int32 kRefused = -1, kEither = 0;
	struct Case {
		std::string name;
		std::string contents;
		int32		size;
		uint8		cornerAlpha;
	};
	std::vector<Case> cases = {
		{ "empty.bmp", "", kRefused, 0 },
		{ "bm.bmp", "BM", kRefused, 0 },
		{ "header20.bmp", peg.substr(0, 20), kRefused, 0 },
		{ "png-signature.png", std::string("\x89PNG\r\n\x1a\n", 8), kRefused,
			0 },
		{ "jpeg-start.jpg", std::string("\xff\xd8\xff", 3), kRefused, 0 },
		{ "text.bmp", "not an image at all", kRefused, 0 },
		{ "zero.bmp", Bmp(0, 0, 24, white), kRefused, 0 },
		{ "big-header.bmp", bigHeader, kEither, 0 },
		{ "far-pixels.bmp", farPixels, kEither, 0 },
		{ "one.bmp", Bmp(1, 1, 24, Peg(0xffffff, 0xffffff)), 1, 255 },
		{ "eight.bmp", EightBitPeg(), 17, 0 },
		{ "top-down.bmp", Bmp(17, -17, 24, Peg(0x00ff00, kMagenta)), 17, 0 },
		// Near-magenta is not magenta: there is no tolerance.
		{ "square.bmp", Bmp(17, 17, 24, Peg(0x0000ff, 0xfe00ff)), 17, 255 },
	};
	// Every cut of a real peg file loads or is refused.
	for (size_t length = 0; length < peg.size(); length += length < 64 ? 1 : 37)
		cases.insert(cases.begin(),
			Case { "cut-" + std::to_string(length) + ".bmp",
				peg.substr(0, length), kEither, 0 });

	TempFolder		   folder;
	kxtest::ImageCheck check;
	for (const Case& c : cases) {
		SCOPED_TRACE(c.name);
		std::unique_ptr<BBitmap> image =
			check.Run(folder.Write(c.name, c.contents).c_str());
		if (c.size == kRefused) {
			EXPECT_EQ(image, nullptr);
		}
		if (c.size <= 0)
			continue;
		ASSERT_NE(image, nullptr);
		EXPECT_EQ(image->Bounds(), BRect(0, 0, c.size - 1, c.size - 1));
		EXPECT_EQ(AlphaAt(image.get(), 0, 0), c.cornerAlpha);
		EXPECT_EQ(AlphaAt(image.get(), c.size / 2, c.size / 2), 255);
	}
	// The last, drawn into hole 0 of row 0: its corner covers the picture.
	const uint8* corner = check.PixelAt(8, 1);
	EXPECT_EQ(corner[0], 0xff);
	EXPECT_EQ(corner[1], 0x00);
	EXPECT_EQ(corner[2], 0xfe);

	// A folder opens but is not read, whatever its name; a pipe, whose open
	// may block, is tried under a deadline by the loader's own test.
	fs::create_directory(folder.fPath / "folder.bmp");
	EXPECT_EQ(check.Run((folder.fPath / "folder.bmp").c_str()), nullptr);
}


// The whole game started in a folder whose images are damaged or missing
// (white.bmp): two rows with every colour and Give Up draw every image on
// the board and as the secret.
class DamagedAssets : public kxtest::GameTest {
protected:
	void
	SetUp() override
	{ }

	void
	TearDown() override
	{
		if (app != nullptr)
			kxtest::GameTest::TearDown();
		EXPECT_EQ(chdir(fHome.c_str()), 0);
	}

	std::string fHome = fs::current_path().string();
	TempFolder	fFolder;
};

TEST_F(DamagedAssets, EveryKindOfDamageAtOnce)
{
	std::string red = ReadFile(fs::path(fHome) / "bmp/red.bmp");
	ASSERT_FALSE(red.empty());
	const char* names[] = { "board.jpg", "red.bmp", "yellow.bmp", "blue.bmp",
		"green.bmp", "purple.bmp", "orange.bmp", "grey.bmp", "black.bmp" };
	const std::string contents[] = { "", red.substr(0, red.size() / 2),
		Bmp(0, 0, 24, Peg(0, 0)), Bmp(1, 1, 24, Peg(0x0000ff, 0x0000ff)),
		EightBitPeg(), Bmp(17, 17, 24, Peg(0x800080, 0x800080)),
		red.substr(0, 20), ReadFile(fs::path(fHome) / "bmp/board.jpg"), red };
	for (int32 i = 0; i < 9; i++)
		fFolder.Write(std::string("bmp/") + names[i], contents[i]);
	ASSERT_EQ(chdir(fFolder.fPath.c_str()), 0);
	kxtest::GameTest::SetUp();
	SetSecret(Sequence(0, 1, 2, 3, 4));
	PlayRow(Sequence(5, 6, 7, 8, 0));
	PlayRow(Sequence(1, 2, 3, 4, 5));
	window->PostMessage(MSG_GIVE_UP);
	ASSERT_TRUE(Settle());

	kxtest::BoardState state = State();
	EXPECT_EQ(state.currentRow, 11);
	EXPECT_FALSE(state.gameActive);
	EXPECT_EQ(Broken(), "");
	EXPECT_NE(harness.display.Snapshot(window), nullptr);
}

} // namespace
