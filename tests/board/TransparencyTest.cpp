#include <Bitmap.h>

#include <gtest/gtest.h>

#include <cstring>

#include "Transparency.h"

namespace {

struct Pixel {
	uint8 blue, green, red, alpha;
};

// Exact magenta and its nearest neighbours, with assorted starting alphas,
// and the alpha each has keyed, keyed and then dimmed, and dimmed unkeyed.
const struct {
	Pixel pixel;
	uint8 keyed;
	uint8 dimmed;
	uint8 dimmedUnkeyed;
} kSamples[] = {
	{ { 255, 0, 255, 255 }, 0, 0, 150 },	// magenta, opaque
	{ { 255, 0, 255, 7 }, 0, 0, 150 },		// magenta, odd alpha
	{ { 255, 0, 254, 0 }, 255, 150, 0 },	// red 254
	{ { 255, 1, 255, 0 }, 255, 150, 0 },	// green 1
	{ { 254, 0, 255, 99 }, 255, 150, 150 }, // blue 254
	{ { 10, 20, 30, 0 }, 255, 150, 0 },		// a peg colour
};

void
Fill(BBitmap& bitmap)
{
	for (int32 i = 0; i < 6; i++)
		memcpy((uint8*)bitmap.Bits() + 4 * i, &kSamples[i].pixel, 4);
}

Pixel
At(const BBitmap& bitmap, int32 i)
{
	Pixel pixel;
	memcpy(&pixel, (const uint8*)bitmap.Bits() + 4 * i, 4);
	return pixel;
}

TEST(Transparency, KeysExactMagentaOnlyAndDimsOnlyVisiblePixels)
{
	BBitmap keyed(BRect(0, 0, 2, 1), B_RGB32);
	BBitmap unkeyed(BRect(0, 0, 2, 1), B_RGB32);
	Fill(keyed);
	Fill(unkeyed);
	// Twice is the same as once, for both.
	MakeTransparent(&keyed);
	MakeTransparent(&keyed);
	BBitmap dimmed(&keyed);
	MakeSemiTransparent(&dimmed);
	MakeSemiTransparent(&dimmed);
	MakeSemiTransparent(&unkeyed);
	for (int32 i = 0; i < 6; i++) {
		SCOPED_TRACE(testing::Message() << "pixel " << i);
		// The image the dimmed one was copied from keeps its alpha.
		EXPECT_EQ(At(keyed, i).alpha, kSamples[i].keyed);
		EXPECT_EQ(At(dimmed, i).alpha, kSamples[i].dimmed);
		EXPECT_EQ(At(unkeyed, i).alpha, kSamples[i].dimmedUnkeyed);
		// The colour bytes never change.
		for (const BBitmap* bitmap : { &keyed, &dimmed, &unkeyed }) {
			Pixel pixel = At(*bitmap, i);
			EXPECT_EQ(memcmp(&pixel, &kSamples[i].pixel, 3), 0);
		}
	}
}

} // namespace
