#include "GraphicsTestSupport.h"
#include "translation/ImageDecoders.h"

#include <TranslationUtils.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include <cstdio>

#include <fcntl.h>
#include <jpeglib.h>
#include <sys/stat.h>
#include <unistd.h>


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
		std::filesystem::remove_all(fFolder);
	}

	std::string
	Path(const std::string& name)
	{
		return fFolder + "/" + name;
	}

	std::string
	Write(const std::string& name, const std::vector<uint8>& bytes)
	{
		std::string path = Path(name);
		std::ofstream(path, std::ios::binary)
			.write((const char*)bytes.data(), (std::streamsize)bytes.size());
		return path;
	}

	// Saves a picture whose pixels are `pixels`, row by row, with `save`.
	template <typename Saver>
	std::string
	Save(const std::string& name, int width, int height,
		const std::vector<rgb_color>& pixels, Saver save)
	{
		SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(
			0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
		for (int i = 0; i < width * height; i++) {
			const rgb_color& c = pixels[i];
			((uint32*)surface->pixels)[i] =
				(uint32)c.alpha << 24 | c.red << 16 | c.green << 8 | c.blue;
		}
		std::string path = Path(name);
		EXPECT_EQ(save(surface, path.c_str()), 0) << name;
		SDL_FreeSurface(surface);
		return path;
	}

	std::string fFolder;
};

int
SaveBMP24(SDL_Surface* surface, const char* path)
{
	// A BMP of 24 bits a pixel, stored bottom row first, as the game's are.
	SDL_Surface* rgb =
		SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_BGR24, 0);
	int result = SDL_SaveBMP(rgb, path);
	SDL_FreeSurface(rgb);
	return result;
}

} // namespace


TEST_F(TranslationTest, PngPicturesLoadTopRowFirstWithTheirAlpha)
{
	const std::vector<rgb_color> pixels = { { 255, 0, 255, 0 },
		{ 10, 20, 30, 128 }, { 1, 2, 3, 255 }, { 200, 100, 50, 255 },
		{ 0, 0, 0, 7 }, { 255, 255, 255, 255 } };
	std::unique_ptr<BBitmap>	 png(BTranslationUtils::GetBitmap(
			Save("alpha.png", 3, 2, pixels, IMG_SavePNG).c_str()));
	ASSERT_NE(png, nullptr);
	EXPECT_EQ(png->Bounds(), BRect(0, 0, 2, 1));
	for (int i = 0; i < 6; i++)
		EXPECT_EQ(GetPixel(png.get(), i % 3, i / 3), pixels[i]) << i;
}

// Paths that cannot be read, a damaged JPEG file and one too long to read.
TEST_F(TranslationTest, MissingUnreadableDamagedOrHugePicturesGiveNull)
{
	for (const char* path : { (const char*)nullptr, "", "/dev/zero" })
		EXPECT_EQ(BTranslationUtils::GetBitmap(path), nullptr);

	// A sound JPEG in a file a byte longer than the largest picture with a
	// megabyte of headers, refused unread, then cut inside its headers.
	std::string cut =
		Save("cut.jpg", 8, 8, std::vector<rgb_color>(64, make_color(9, 9, 9)),
			[](SDL_Surface* surface, const char* path) {
				return IMG_SaveJPG(surface, path, 100);
			});
	for (off_t length :
		{ BPrivate::kMaxImagePixels * 4 + (1 << 20) + 1, int64(40) }) {
		ASSERT_EQ(truncate(cut.c_str(), length), 0);
		EXPECT_EQ(BTranslationUtils::GetBitmap(cut.c_str()), nullptr) << length;
	}
}

// A progressive JPEG made of scans, each a pass over the whole picture:
// the usual progression (ten scans) loads; one scan for every coefficient of
// every colour, 190 in all, is refused before the decoder reads it through.
TEST_F(TranslationTest, AProgressiveJPEGOfTooManyScansIsRefused)
{
	for (bool everyCoefficient : { false, true }) {
		std::string			  path = Path("progressive.jpg");
		jpeg_compress_struct  info;
		jpeg_error_mgr		  errors;
		static jpeg_scan_info scans[1 + 3 * 63];
		std::vector<JSAMPLE>  row(16 * 3, 0x80);
		FILE*				  file = fopen(path.c_str(), "wb");
		info.err = jpeg_std_error(&errors);
		jpeg_create_compress(&info);
		jpeg_stdio_dest(&info, file);
		info.image_width = info.image_height = 16;
		info.input_components = 3;
		info.in_color_space = JCS_RGB;
		jpeg_set_defaults(&info);
		jpeg_simple_progression(&info);
		if (everyCoefficient) {
			scans[0] = { 3, { 0, 1, 2 }, 0, 0, 0, 0 };
			for (int i = 0; i < 3 * 63; i++)
				scans[i + 1] = { 1, { i / 63 }, i % 63 + 1, i % 63 + 1, 0, 0 };
			info.scan_info = scans;
			info.num_scans = 1 + 3 * 63;
		}
		jpeg_start_compress(&info, TRUE);
		for (JSAMPROW line = row.data(); info.next_scanline < 16;)
			jpeg_write_scanlines(&info, &line, 1);
		jpeg_finish_compress(&info);
		jpeg_destroy_compress(&info);
		fclose(file);
		std::unique_ptr<BBitmap> bitmap(
			BTranslationUtils::GetBitmap(path.c_str()));
		EXPECT_EQ(bitmap == nullptr, everyCoefficient);
	}
}

TEST_F(TranslationTest, ANamedPipeIsNotOpened)
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
		std::string path = Save(std::to_string(c.width) + ".bmp", c.width,
			c.height, std::vector<rgb_color>(c.width * c.height), SaveBMP24);
		std::unique_ptr<BBitmap> bitmap(
			BTranslationUtils::GetBitmap(path.c_str()));
		EXPECT_EQ(bitmap != nullptr, c.loads) << c.width << " by " << c.height;
	}

	// Sound pictures of formats that are not decoded: one whose size is not
	// read before decoding, and a GIF (a screen, two colours, a comment and
	// one image), whose size is.
	std::string pnm = "P6\n2 2\n255\n" + std::string(12, (char)0x80);
	const std::vector<uint8> gif = { 'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0,
		0x80, 0, 0, 0, 0, 0, 0, 0, 0, 0x21, 0xfe, 3, 'a', 'b', 'c', 0, 0x2c, 0,
		0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3b };
	for (const std::vector<uint8>& bytes :
		{ std::vector<uint8>(pnm.begin(), pnm.end()), gif }) {
		EXPECT_EQ(BTranslationUtils::GetBitmap(Write("sound", bytes).c_str()),
			nullptr);
	}
}
