// Damaged, odd and hostile image files: each is loaded, keyed and drawn as
// the board would, or refused, and never read past its end. The sanitizer
// builds run the same cases to catch reads outside a buffer.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "BoardInvariants.h"
#include "GameFixture.h"
#include "ImageCheck.h"

namespace {

enum Outcome {
	LOADS,
	REFUSED,
	EITHER
};

void
Put16(std::string& out, uint32 value)
{
	out += (char)(value & 0xff);
	out += (char)((value >> 8) & 0xff);
}

void
Put32(std::string& out, uint32 value)
{
	Put16(out, value & 0xffff);
	Put16(out, value >> 16);
}

typedef std::function<uint32(int32 x, int32 y)> PixelFunction; // 0xRRGGBB

// A bottom-up BMP of 24 bits a pixel, or of 8 with a palette of the nine
// pixel values 0 to 8 taken as palette indices. A negative height writes
// the rows top-down.
std::string
Bmp(int32 width, int32 height, int32 bits, PixelFunction pixel,
	const std::vector<uint32>& palette = {})
{
	int32		rows = height < 0 ? -height : height;
	int32		rowBytes = ((width * bits / 8) + 3) & ~3;
	uint32		paletteBytes = (uint32)palette.size() * 4;
	uint32		offset = 14 + 40 + paletteBytes;
	std::string out = "BM";
	Put32(out, offset + (uint32)(rowBytes * rows));
	Put32(out, 0);
	Put32(out, offset);
	Put32(out, 40);
	Put32(out, (uint32)width);
	Put32(out, (uint32)height);
	Put16(out, 1);
	Put16(out, (uint32)bits);
	Put32(out, 0);
	Put32(out, (uint32)(rowBytes * rows));
	Put32(out, 2835);
	Put32(out, 2835);
	Put32(out, (uint32)palette.size());
	Put32(out, 0);
	for (uint32 color : palette)
		Put32(out, color);
	for (int32 r = 0; r < rows; r++) {
		int32		y = height < 0 ? r : rows - 1 - r;
		std::string line;
		for (int32 x = 0; x < width; x++) {
			uint32 value = pixel(x, y);
			if (bits == 8) {
				line += (char)value;
			} else {
				line += (char)(value & 0xff);
				line += (char)((value >> 8) & 0xff);
				line += (char)((value >> 16) & 0xff);
			}
		}
		line.resize((size_t)rowBytes, '\0');
		out += line;
	}
	return out;
}

const uint32 kMagenta = 0xff00ff;

// A peg of 17 by 17: a disc of the colour on magenta.
uint32
PegPixel(int32 x, int32 y, uint32 color, uint32 key)
{
	int32 dx = x - 8;
	int32 dy = y - 8;
	return dx * dx + dy * dy <= 49 ? color : key;
}

std::string
ReadFile(const char* path)
{
	std::ifstream in(path, std::ios::binary);
	return std::string(
		std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ImageFiles : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		char pattern[] = "/tmp/kx-bad-images-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		fFolder = pattern;
	}

	void
	TearDown() override
	{
		for (const std::string& file : fFiles)
			unlink(file.c_str());
		rmdir(fFolder.c_str());
	}

	std::string
	Write(const std::string& name, const std::string& contents)
	{
		std::string	  path = fFolder + "/" + name;
		std::ofstream out(path, std::ios::binary);
		out << contents;
		fFiles.push_back(path);
		return path;
	}

	std::unique_ptr<BBitmap>
	Check(const std::string& name, const std::string& contents, Outcome outcome)
	{
		std::unique_ptr<BBitmap> image =
			fCheck.Run(Write(name, contents).c_str());
		if (outcome == LOADS) {
			EXPECT_NE(image, nullptr) << name;
		} else if (outcome == REFUSED) {
			EXPECT_EQ(image, nullptr) << name;
		}
		return image;
	}

	static int32
	Width(const BBitmap* image)
	{
		return (int32)image->Bounds().right + 1;
	}
	static int32
	Height(const BBitmap* image)
	{
		return (int32)image->Bounds().bottom + 1;
	}

	static uint8
	AlphaAt(const BBitmap* image, int32 x, int32 y)
	{
		return static_cast<const uint8*>(
			image->Bits())[y * image->BytesPerRow() + x * 4 + 3];
	}

	std::string				 fFolder;
	std::vector<std::string> fFiles;
	kxtest::ImageCheck		 fCheck;
};


TEST_F(ImageFiles, EmptyAndCutShortHeadersAreRefused)
{
	std::string peg = Bmp(17, 17, 24,
		[](int32 x, int32 y) { return PegPixel(x, y, 0xff0000, kMagenta); });
	Check("empty.bmp", "", REFUSED);
	Check("bm.bmp", "BM", REFUSED);
	Check("header20.bmp", peg.substr(0, 20), REFUSED);
	Check("png-signature.png", std::string("\x89PNG\r\n\x1a\n", 8), REFUSED);
	Check("jpeg-start.jpg", std::string("\xff\xd8\xff", 3), REFUSED);
	Check("text.bmp", "not an image at all", REFUSED);

	// Every cut of a real peg file loads or is refused; none is read past.
	for (size_t length = 0; length < peg.size(); length += length < 64 ? 1 : 37)
		Check("cut-" + std::to_string(length) + ".bmp", peg.substr(0, length),
			EITHER);
}

TEST_F(ImageFiles, SizesOfNothingOneAndFarTooManyPixels)
{
	auto white = [](int32, int32) { return 0xffffffu; };
	Check("zero.bmp", Bmp(0, 0, 24, white), REFUSED);

	std::unique_ptr<BBitmap> one =
		Check("one.bmp", Bmp(1, 1, 24, white), LOADS);
	ASSERT_NE(one, nullptr);
	EXPECT_EQ(Width(one.get()), 1);
	EXPECT_EQ(Height(one.get()), 1);
	EXPECT_EQ(AlphaAt(one.get(), 0, 0), 255);

	// Only the header of a picture of 10,000 by 10,000: refused from the
	// header, before anything of that size is allocated.
	std::string huge = Bmp(1, 1, 24, white);
	huge[18] = (char)0x10;
	huge[19] = (char)0x27;
	huge[20] = 0;
	huge[21] = 0;
	huge[22] = (char)0x10;
	huge[23] = (char)0x27;
	huge[24] = 0;
	huge[25] = 0;
	Check("huge.bmp", huge, REFUSED);

	// A header larger than the file, and pixels said to start past its end.
	std::string bigHeader = Bmp(2, 2, 24, white);
	bigHeader[14] = (char)0xf0;
	bigHeader[15] = (char)0xff;
	bigHeader[16] = (char)0xff;
	bigHeader[17] = (char)0x7f;
	Check("big-header.bmp", bigHeader, EITHER);
	std::string farPixels = Bmp(2, 2, 24, white);
	farPixels[10] = (char)0xff;
	farPixels[11] = (char)0xff;
	farPixels[12] = (char)0xff;
	Check("far-pixels.bmp", farPixels, EITHER);
}

TEST_F(ImageFiles, AnEightBitPegIsKeyedLikeATrueColourOne)
{
	const std::vector<uint32> palette = { kMagenta, 0x00ff00 };
	std::unique_ptr<BBitmap>  peg = Check("eight.bmp",
		 Bmp(
			 17, 17, 8, [](int32 x, int32 y) { return PegPixel(x, y, 1, 0); },
			 palette),
		 LOADS);
	ASSERT_NE(peg, nullptr);
	EXPECT_EQ(Width(peg.get()), 17);
	EXPECT_EQ(AlphaAt(peg.get(), 0, 0), 0);
	EXPECT_EQ(AlphaAt(peg.get(), 8, 8), 255);

	// Top-down rows load the same picture.
	std::unique_ptr<BBitmap> topDown = Check("top-down.bmp",
		Bmp(17, -17, 24,
			[](int32 x, int32 y) {
				return PegPixel(x, y, 0x00ff00, kMagenta);
			}),
		LOADS);
	ASSERT_NE(topDown, nullptr);
	EXPECT_EQ(AlphaAt(topDown.get(), 0, 0), 0);
	EXPECT_EQ(AlphaAt(topDown.get(), 8, 8), 255);
}

TEST_F(ImageFiles, APegWithoutMagentaIsAnOpaqueSquare)
{
	// Near-magenta is not magenta: there is no tolerance.
	std::unique_ptr<BBitmap> peg = Check("square.bmp",
		Bmp(17, 17, 24,
			[](int32 x, int32 y) {
				return PegPixel(x, y, 0x0000ff, 0xfe00ff);
			}),
		LOADS);
	ASSERT_NE(peg, nullptr);
	for (int32 y = 0; y < 17; y++) {
		for (int32 x = 0; x < 17; x++)
			ASSERT_EQ(AlphaAt(peg.get(), x, y), 255) << x << "," << y;
	}
	// Drawn into hole 0 of row 0, its corner covers the picture.
	const uint8* corner = fCheck.PixelAt(8, 1);
	EXPECT_EQ(corner[0], 0xff);
	EXPECT_EQ(corner[1], 0x00);
	EXPECT_EQ(corner[2], 0xfe);
}


// The whole game started in a folder whose images are damaged or missing.
class DamagedAssets : public kxtest::GameTest {
protected:
	void
	SetUp() override
	{
		char pattern[] = "/tmp/kx-bad-assets-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		fFolder = pattern;
		ASSERT_EQ(mkdir((fFolder + "/bmp").c_str(), 0700), 0);
		char here[4096];
		ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
		fHome = here;
	}

	void
	TearDown() override
	{
		if (app != nullptr)
			kxtest::GameTest::TearDown();
		if (!fHome.empty()) {
			EXPECT_EQ(chdir(fHome.c_str()), 0);
		}
		for (const std::string& file : fFiles)
			unlink(file.c_str());
		rmdir((fFolder + "/bmp").c_str());
		rmdir(fFolder.c_str());
	}

	void
	Put(const char* name, const std::string& contents)
	{
		std::string path = fFolder + "/bmp/" + name;
		std::ofstream(path, std::ios::binary) << contents;
		fFiles.push_back(path);
	}

	// Starts the game in the folder, plays two rows with every colour and
	// gives up, so that every image is drawn on the board and as the secret.
	void
	PlayThrough()
	{
		ASSERT_EQ(chdir(fFolder.c_str()), 0);
		kxtest::GameTest::SetUp();
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
		SetSecret(Sequence(0, 1, 2, 3, 4));
		PlayRow(Sequence(5, 6, 7, 8, 0));
		PlayRow(Sequence(1, 2, 3, 4, 5));
		window->PostMessage(MSG_GIVE_UP);
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));

		kxtest::BoardState state = State();
		EXPECT_EQ(state.currentRow, 11);
		EXPECT_FALSE(state.gameActive);
		kxtest::BoardInvariants invariants;
		window->Lock();
		EXPECT_EQ(invariants.Broken(view), "");
		window->Unlock();
		EXPECT_NE(harness.display.Snapshot(window), nullptr);
	}

	std::string				 fFolder;
	std::string				 fHome;
	std::vector<std::string> fFiles;
};

TEST_F(DamagedAssets, NoImagesAtAll)
{
	PlayThrough();
}

TEST_F(DamagedAssets, EveryKindOfDamageAtOnce)
{
	std::string red = ReadFile("bmp/red.bmp");
	ASSERT_FALSE(red.empty());
	Put("board.jpg", "");
	Put("red.bmp", red.substr(0, red.size() / 2));
	Put("yellow.bmp", Bmp(0, 0, 24, [](int32, int32) { return 0u; }));
	Put("blue.bmp", Bmp(1, 1, 24, [](int32, int32) { return 0x0000ffu; }));
	Put("green.bmp",
		Bmp(17, 17, 8, [](int32 x, int32 y) { return PegPixel(x, y, 1, 0); },
			{ kMagenta, 0x00ff00 }));
	Put("purple.bmp", Bmp(17, 17, 24, [](int32, int32) { return 0x800080u; }));
	Put("orange.bmp", red.substr(0, 20));
	Put("grey.bmp", ReadFile("bmp/board.jpg"));
	Put("black.bmp", red);
	// white.bmp missing
	PlayThrough();
}

} // namespace
