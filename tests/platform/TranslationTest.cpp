#include "GraphicsTestSupport.h"

#include <TranslationUtils.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "translation/ImageSize.h"

namespace {

class TranslationTest : public testing::Test {
protected:
	void
	SetUp() override
	{
		char pattern[] = "/tmp/kx_imagesXXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		fFolder = pattern;
	}

	void
	TearDown() override
	{
		for (const std::string& file : fFiles)
			remove(file.c_str());
		rmdir(fFolder.c_str());
	}

	std::string
	Path(const char* name)
	{
		fFiles.push_back(fFolder + "/" + name);
		return fFiles.back();
	}

	std::string
	Write(const char* name, const std::vector<uint8>& bytes)
	{
		std::string path = Path(name);
		FILE*		file = fopen(path.c_str(), "wb");
		if (!bytes.empty())
			fwrite(bytes.data(), 1, bytes.size(), file);
		fclose(file);
		return path;
	}

	std::vector<uint8>
	Read(const std::string& path)
	{
		std::vector<uint8> bytes;
		FILE*			   file = fopen(path.c_str(), "rb");
		int				   c;
		while ((c = fgetc(file)) != EOF)
			bytes.push_back((uint8)c);
		fclose(file);
		return bytes;
	}

	// A surface of 32-bit pixels whose bytes are blue, green, red, alpha.
	static SDL_Surface*
	MakeSurface(int width, int height)
	{
		return SDL_CreateRGBSurfaceWithFormat(
			0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
	}

	static void
	Put(SDL_Surface* surface, int x, int y, rgb_color c)
	{
		uint8* p = (uint8*)surface->pixels + y * surface->pitch + x * 4;
		p[0] = c.blue;
		p[1] = c.green;
		p[2] = c.red;
		p[3] = c.alpha;
	}

	std::string				 fFolder;
	std::vector<std::string> fFiles;
};

void
Append16(std::vector<uint8>* out, uint32 value)
{
	out->push_back(value & 0xff);
	out->push_back((value >> 8) & 0xff);
}

void
Append32(std::vector<uint8>* out, uint32 value)
{
	Append16(out, value & 0xffff);
	Append16(out, value >> 16);
}

// A 24-bit BMP of 2 by 2 pixels, written field by field. Rows are stored
// bottom row first and padded to 4 bytes.
std::vector<uint8>
TwoByTwoBMP()
{
	std::vector<uint8> bmp = { 'B', 'M' };
	Append32(&bmp, 14 + 40 + 16); // file size
	Append32(&bmp, 0);
	Append32(&bmp, 14 + 40); // pixel data offset
	Append32(&bmp, 40);		 // header size
	Append32(&bmp, 2);
	Append32(&bmp, 2);
	Append16(&bmp, 1);	// planes
	Append16(&bmp, 24); // bits a pixel
	for (int i = 0; i < 6; i++)
		Append32(&bmp, i == 1 ? 16 : 0); // no compression, image size, rest 0
	// Bottom row: blue, then white; top row: red, then (1, 2, 3).
	const uint8 rows[16] = { 255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 3, 2, 1,
		0, 0 };
	bmp.insert(bmp.end(), rows, rows + 16);
	return bmp;
}

} // namespace


TEST_F(TranslationTest, BMPLoadsWithItsPixelsTopRowFirstAndOpaque)
{
	// A relative path starts at the working directory.
	Write("four.bmp", TwoByTwoBMP());
	char previous[4096];
	ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
	ASSERT_EQ(chdir(fFolder.c_str()), 0);
	std::unique_ptr<BBitmap> bitmap(BTranslationUtils::GetBitmap("four.bmp"));
	ASSERT_EQ(chdir(previous), 0);
	ASSERT_NE(bitmap, nullptr);
	EXPECT_EQ(bitmap->Bounds(), BRect(0, 0, 1, 1));
	EXPECT_EQ(bitmap->ColorSpace(), B_RGB32);
	EXPECT_EQ(GetPixel(bitmap.get(), 0, 0), make_color(255, 0, 0, 255));
	EXPECT_EQ(GetPixel(bitmap.get(), 1, 0), make_color(1, 2, 3, 255));
	EXPECT_EQ(GetPixel(bitmap.get(), 0, 1), make_color(0, 0, 255, 255));
	EXPECT_EQ(GetPixel(bitmap.get(), 1, 1), make_color(255, 255, 255, 255));
}

TEST_F(TranslationTest, PNGKeepsItsAlpha)
{
	SDL_Surface* surface = MakeSurface(3, 2);
	ASSERT_NE(surface, nullptr);
	const rgb_color pixels[6] = { { 255, 0, 255, 0 }, { 10, 20, 30, 128 },
		{ 1, 2, 3, 255 }, { 200, 100, 50, 255 }, { 0, 0, 0, 7 },
		{ 255, 255, 255, 255 } };
	for (int i = 0; i < 6; i++)
		Put(surface, i % 3, i / 3, pixels[i]);
	std::string path = Path("alpha.png");
	ASSERT_EQ(IMG_SavePNG(surface, path.c_str()), 0);
	SDL_FreeSurface(surface);

	std::unique_ptr<BBitmap> bitmap(BTranslationUtils::GetBitmap(path.c_str()));
	ASSERT_NE(bitmap, nullptr);
	EXPECT_EQ(bitmap->Bounds(), BRect(0, 0, 2, 1));
	EXPECT_EQ(bitmap->BytesPerRow(), 12);
	for (int i = 0; i < 6; i++)
		EXPECT_EQ(GetPixel(bitmap.get(), i % 3, i / 3), pixels[i]) << i;
}

TEST_F(TranslationTest, JPEGLoadsCloseToItsColoursAndOpaque)
{
	SDL_Surface* surface = MakeSurface(16, 8);
	ASSERT_NE(surface, nullptr);
	for (int y = 0; y < 8; y++) {
		for (int x = 0; x < 16; x++)
			Put(surface, x, y,
				x < 8 ? make_color(200, 40, 40, 255)
					  : make_color(40, 40, 200, 255));
	}
	std::string path = Path("board.jpg");
	ASSERT_EQ(IMG_SaveJPG(surface, path.c_str(), 100), 0);
	SDL_FreeSurface(surface);

	std::unique_ptr<BBitmap> bitmap(BTranslationUtils::GetBitmap(path.c_str()));
	ASSERT_NE(bitmap, nullptr);
	EXPECT_EQ(bitmap->Bounds(), BRect(0, 0, 15, 7));
	rgb_color left = GetPixel(bitmap.get(), 2, 3);
	rgb_color right = GetPixel(bitmap.get(), 13, 3);
	EXPECT_NEAR(left.red, 200, 8);
	EXPECT_NEAR(left.blue, 40, 8);
	EXPECT_NEAR(right.red, 40, 8);
	EXPECT_NEAR(right.blue, 200, 8);
	EXPECT_EQ(left.alpha, 255);
	EXPECT_EQ(right.alpha, 255);
}

// Damaged BMP files are swept in the fault tests; here the other ways a
// path can fail and damaged JPEG files.
TEST_F(TranslationTest, MissingUnreadableOrDamagedFilesGiveNull)
{
	EXPECT_EQ(BTranslationUtils::GetBitmap(nullptr), nullptr);
	EXPECT_EQ(BTranslationUtils::GetBitmap(""), nullptr);
	EXPECT_EQ(
		BTranslationUtils::GetBitmap(Path("missing.bmp").c_str()), nullptr);
	// A folder opens but cannot be read.
	EXPECT_EQ(BTranslationUtils::GetBitmap(fFolder.c_str()), nullptr);

	// A JPEG start followed by noise.
	std::vector<uint8> jpeg = { 0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10 };
	for (int i = 0; i < 200; i++)
		jpeg.push_back((uint8)(i * 37 + 11));
	EXPECT_EQ(BTranslationUtils::GetBitmap(Write("corrupt.jpg", jpeg).c_str()),
		nullptr);
	// A JPEG cut inside its headers.
	SDL_Surface* surface = MakeSurface(8, 8);
	std::string	 whole = Path("whole.jpg");
	ASSERT_EQ(IMG_SaveJPG(surface, whole.c_str(), 90), 0);
	SDL_FreeSurface(surface);
	std::vector<uint8> cut = Read(whole);
	cut.resize(40);
	EXPECT_EQ(
		BTranslationUtils::GetBitmap(Write("cut.jpg", cut).c_str()), nullptr);
}

TEST_F(TranslationTest, AbsurdDeclaredSizesAreRefusedBeforeDecoding)
{
	// Only headers: a decoder that believed them would allocate gigabytes.
	std::vector<uint8> png = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0,
		0, 0, 13, 'I', 'H', 'D', 'R', 0, 0, 0x4e, 0x20, 0, 0, 0x4e, 0x20, 8, 6,
		0, 0, 0, 0, 0, 0, 0 };
	EXPECT_EQ(
		BTranslationUtils::GetBitmap(Write("huge.png", png).c_str()), nullptr);

	// 10000 by 10000 is within each side's limit but over the pixel count.
	std::vector<uint8> jpeg = { 0xff, 0xd8, 0xff, 0xc0, 0x00, 0x11, 8, 0x27,
		0x10, 0x27, 0x10, 3 };
	jpeg.resize(jpeg.size() + 9 + 2, 0);
	EXPECT_EQ(BTranslationUtils::GetBitmap(Write("square.jpg", jpeg).c_str()),
		nullptr);
}


TEST_F(TranslationTest, OnlyRegularFilesAreOpened)
{
	// Opening a pipe for reading waits for a writer, maybe for ever.
	std::string pipe = Path("pipe.bmp");
	ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
	std::future<BBitmap*> load = std::async(std::launch::async,
		[&] { return BTranslationUtils::GetBitmap(pipe.c_str()); });
	if (load.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
		// Lets the stuck open return before the test fails.
		close(open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
		ADD_FAILURE() << "opening a named pipe blocked";
	}
	EXPECT_EQ(load.get(), nullptr);
	EXPECT_EQ(BTranslationUtils::GetBitmap("/dev/zero"), nullptr);
}

TEST_F(TranslationTest, OnlyPicturesOfKnownFormatAndSizeAreDecoded)
{
	struct Case {
		int	 width;
		int	 height;
		bool loads;
	};
	const Case sizes[] = { { 4096, 1, true }, { 4097, 1, false },
		{ 1, 4097, false } };
	for (const Case& c : sizes) {
		SCOPED_TRACE(testing::Message() << c.width << " by " << c.height);
		SDL_Surface* surface = MakeSurface(c.width, c.height);
		std::string	 path =
			Path(("side-" + std::to_string(c.width) + ".bmp").c_str());
		ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
		SDL_FreeSurface(surface);
		std::unique_ptr<BBitmap> bitmap(
			BTranslationUtils::GetBitmap(path.c_str()));
		EXPECT_EQ(bitmap != nullptr, c.loads);
	}

	// A sound picture in a format whose size is not read before decoding.
	std::string pnm = "P6\n2 2\n255\n" + std::string(12, (char)0x80);
	EXPECT_EQ(BTranslationUtils::GetBitmap(
				  Write("grey.ppm", std::vector<uint8>(pnm.begin(), pnm.end()))
					  .c_str()),
		nullptr);

	// The decoder sizes a GIF by its first image, not by the screen before it.
	std::vector<uint8> gif = { 'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80,
		0, 0 };
	gif.resize(gif.size() + 6, 0); // two colours
	const uint8 comment[] = { 0x21, 0xfe, 3, 'a', 'b', 'c', 0 };
	gif.insert(gif.end(), comment, comment + sizeof(comment));
	const uint8 frame[] = { 0x2c, 0, 0, 0, 0, 0x88, 0x13, 0x01, 0x00, 0 };
	gif.insert(gif.end(), frame, frame + sizeof(frame));
	int64		width = 0;
	int64		height = 0;
	const char* format = nullptr;
	EXPECT_EQ(BPrivate::PeekImageSize(
				  gif.data(), gif.size(), &width, &height, &format),
		BPrivate::IMAGE_SIZE_FOUND);
	EXPECT_EQ(width, 5000);
	EXPECT_EQ(height, 1);
	EXPECT_STREQ(format, "GIF");
	EXPECT_EQ(BPrivate::PeekImageSize(gif.data(), 20, &width, &height),
		BPrivate::IMAGE_SIZE_CORRUPT);
}
