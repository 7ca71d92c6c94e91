#include <Bitmap.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "Transparency.h"

namespace {

struct Pixel {
	uint8 blue, green, red, alpha;
};

std::vector<Pixel>
PixelsOf(const BBitmap& bitmap)
{
	std::vector<Pixel> pixels(bitmap.BitsLength() / 4);
	memcpy(pixels.data(), bitmap.Bits(), bitmap.BitsLength());
	return pixels;
}

void
SetPixels(BBitmap& bitmap, const std::vector<Pixel>& pixels)
{
	ASSERT_EQ((size_t)bitmap.BitsLength(), pixels.size() * 4);
	memcpy(bitmap.Bits(), pixels.data(), bitmap.BitsLength());
}

// Exact magenta and its nearest neighbours, with assorted starting alphas.
const std::vector<Pixel> kSamples = {
	{ 255, 0, 255, 255 }, // magenta, opaque
	{ 255, 0, 255, 7 },	  // magenta, odd alpha
	{ 255, 0, 254, 0 },	  // red 254
	{ 255, 1, 255, 0 },	  // green 1
	{ 254, 0, 255, 99 },  // blue 254
	{ 10, 20, 30, 0 },	  // a peg colour that was never keyed
};

TEST(Transparency, MakeTransparentKeysExactMagentaOnly)
{
	BBitmap bitmap(BRect(0, 0, 2, 1), B_RGB32);
	SetPixels(bitmap, kSamples);
	MakeTransparent(&bitmap);
	std::vector<Pixel> keyed = PixelsOf(bitmap);
	const uint8		   expected[] = { 0, 0, 255, 255, 255, 255 };
	for (size_t i = 0; i < kSamples.size(); i++) {
		EXPECT_EQ(keyed[i].alpha, expected[i]) << "pixel " << i;
		// The colour bytes never change.
		EXPECT_EQ(keyed[i].blue, kSamples[i].blue);
		EXPECT_EQ(keyed[i].green, kSamples[i].green);
		EXPECT_EQ(keyed[i].red, kSamples[i].red);
	}
	// Twice is the same as once.
	MakeTransparent(&bitmap);
	EXPECT_EQ(
		memcmp(PixelsOf(bitmap).data(), keyed.data(), keyed.size() * 4), 0);
}

TEST(Transparency, MakeSemiTransparentDimsOnlyVisiblePixels)
{
	BBitmap bitmap(BRect(0, 0, 2, 1), B_RGB32);
	SetPixels(bitmap, kSamples);
	MakeTransparent(&bitmap);
	BBitmap drag(&bitmap);
	MakeSemiTransparent(&drag);
	std::vector<Pixel> dimmed = PixelsOf(drag);
	const uint8		   expected[] = { 0, 0, 150, 150, 150, 150 };
	for (size_t i = 0; i < kSamples.size(); i++) {
		EXPECT_EQ(dimmed[i].alpha, expected[i]) << "pixel " << i;
		EXPECT_EQ(dimmed[i].red, kSamples[i].red);
	}
	MakeSemiTransparent(&drag);
	EXPECT_EQ(
		memcmp(PixelsOf(drag).data(), dimmed.data(), dimmed.size() * 4), 0);
	// The image it was copied from keeps its opacity.
	EXPECT_EQ(PixelsOf(bitmap)[2].alpha, 255);

	// Never keyed: every pixel of non-zero alpha gets 150, zero stays zero.
	BBitmap raw(BRect(0, 0, 2, 1), B_RGB32);
	SetPixels(raw, kSamples);
	MakeSemiTransparent(&raw);
	const uint8 rawExpected[] = { 150, 150, 0, 0, 150, 0 };
	for (size_t i = 0; i < kSamples.size(); i++)
		EXPECT_EQ(PixelsOf(raw)[i].alpha, rawExpected[i]) << "pixel " << i;
}

TEST(Transparency, OnePixelAndUnsuitableBitmaps)
{
	BBitmap single(BRect(0, 0, 0, 0), B_RGB32);
	SetPixels(single, { { 255, 0, 255, 255 } });
	MakeTransparent(&single);
	EXPECT_EQ(PixelsOf(single)[0].alpha, 0);

	// No bitmap, or one that is not 32 bits a pixel: left alone, no crash.
	MakeTransparent(nullptr);
	MakeSemiTransparent(nullptr);
	BBitmap indexed(BRect(0, 0, 4, 4), B_CMAP8);
	memset(indexed.Bits(), 0xff, indexed.BitsLength());
	MakeTransparent(&indexed);
	MakeSemiTransparent(&indexed);
	for (int32 i = 0; i < indexed.BitsLength(); i++)
		EXPECT_EQ(static_cast<uint8*>(indexed.Bits())[i], 0xff);
	BBitmap empty(BRect(), B_RGB32);
	MakeTransparent(&empty);
}

} // namespace
