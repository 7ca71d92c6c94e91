#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using BPrivate::BlendState;

namespace {

const rgb_color kGround = { 100, 50, 0, 77 };

BlendState
AlphaState(alpha_function function = B_ALPHA_OVERLAY,
	source_alpha source = B_PIXEL_ALPHA, uint8 constant = 255)
{
	BlendState state;
	state.mode = B_OP_ALPHA;
	state.sourceAlpha = source;
	state.alphaFunction = function;
	state.constantAlpha = constant;
	return state;
}

BlendState
ModeState(drawing_mode mode)
{
	BlendState state;
	state.mode = mode;
	return state;
}

} // namespace


TEST(PainterBlendTest,
	OverlayRoundsToNearestKeepsDestinationAlphaAndTakesAConstant)
{
	// Shapes take the colour's alpha, bitmaps each pixel's own.
	std::unique_ptr<BBitmap> bitmap(new BBitmap(BRect(0, 0, 2, 0), B_RGBA32));
	Canvas					 shapes(3, 1, kGround);
	const uint8				 alphas[3] = { 0, 150, 255 };
	for (int32 x = 0; x < 3; x++) {
		SetPixel(bitmap.get(), x, 0, make_color(200, 250, 10, alphas[x]));
		shapes.Painter().FillRect(BRect(x, 0, x, 0),
			make_color(200, 250, 10, alphas[x]), AlphaState());
	}
	Canvas bitmaps(3, 1, kGround);
	bitmaps.Painter().DrawBitmap(
		bitmap.get(), BRect(0, 0, 2, 0), BRect(0, 0, 2, 0), AlphaState());

	// A constant alpha of 150 replaces every pixel's own, and a shape's.
	Canvas	   constant(3, 1, kGround);
	BlendState state = AlphaState(B_ALPHA_OVERLAY, B_CONSTANT_ALPHA, 150);
	constant.Painter().DrawBitmap(
		bitmap.get(), BRect(0, 0, 1, 0), BRect(0, 0, 1, 0), state);
	constant.Painter().FillRect(
		BRect(2, 0, 2, 0), make_color(200, 250, 10, 0), state);

	// (200 * 150 + 100 * 105 + 127) / 255 = 159; (250 * 150 + 50 * 105 + 127) / 255 = 168;
	// (10 * 150 + 0 + 127) / 255 = 6.
	const rgb_color blended = make_color(159, 168, 6, 77);
	for (const Canvas* canvas : { &shapes, &bitmaps }) {
		EXPECT_EQ(canvas->At(0, 0), kGround);
		EXPECT_EQ(canvas->At(1, 0), blended);
		EXPECT_EQ(canvas->At(2, 0), make_color(200, 250, 10, 77));
	}
	for (int32 x = 0; x < 3; x++)
		EXPECT_EQ(constant.At(x, 0), blended) << "x " << x;
}

TEST(PainterBlendTest, CompositeCombinesTheDestinationsOpacity)
{
	const rgb_color source = make_color(200, 250, 10, 150);
	Canvas			clear(1, 1, make_color(100, 50, 0, 0));
	Canvas			half(1, 1, make_color(100, 50, 0, 100));
	Canvas			opaque(1, 1, make_color(100, 50, 0, 255));
	Canvas			overlay(1, 1, make_color(100, 50, 0, 255));
	for (Canvas* canvas : { &clear, &half, &opaque })
		canvas->Painter().FillRect(
			BRect(0, 0, 0, 0), source, AlphaState(B_ALPHA_COMPOSITE));
	overlay.Painter().FillRect(
		BRect(0, 0, 0, 0), source, AlphaState(B_ALPHA_OVERLAY));

	// Over nothing, the source is all there is.
	EXPECT_EQ(clear.At(0, 0), source);
	// Alpha 150 + 100 * 105 / 255 = 191; the colours are the means weighted
	// 150 * 255 : 100 * 105, red (200 * 38250 + 100 * 10500) / 48750 = 178.46.
	EXPECT_EQ(half.At(0, 0), make_color(178, 207, 8, 191));
	// Over an opaque picture it is the overlay, with the alpha made opaque.
	EXPECT_EQ(opaque.At(0, 0), overlay.At(0, 0));
	EXPECT_EQ(opaque.At(0, 0).alpha, 255);
}

TEST(PainterBlendTest, CompositeStaysInRangeForEveryOpacityPair)
{
	// Rounding the result's alpha must never push a white channel past 255.
	for (int dstAlpha = 0; dstAlpha < 256; dstAlpha += 3) {
		for (int alpha = 1; alpha < 256; alpha += 2) {
			Canvas canvas(1, 1, make_color(255, 255, 255, dstAlpha));
			canvas.Painter().FillRect(BRect(0, 0, 0, 0),
				make_color(255, 255, 255, alpha),
				AlphaState(B_ALPHA_COMPOSITE));
			ASSERT_EQ(canvas.At(0, 0).red, 255) << dstAlpha << " " << alpha;
			ASSERT_GE(canvas.At(0, 0).alpha, std::max(alpha, dstAlpha));
		}
	}
}

TEST(PainterBlendTest, OverSkipsTheTransparentMagicAndCopyDoesNot)
{
	std::unique_ptr<BBitmap> rgb(new BBitmap(BRect(0, 0, 1, 0), B_RGB32));
	// In B_RGB32 the fourth byte is unused, so the colour alone marks it.
	SetPixel(rgb.get(), 0, 0, make_color(0x77, 0x74, 0x77, 255));
	SetPixel(rgb.get(), 1, 0, make_color(0x77, 0x74, 0x78, 0));
	std::unique_ptr<BBitmap> rgba(new BBitmap(BRect(0, 0, 1, 0), B_RGBA32));
	SetPixel(rgba.get(), 0, 0, B_TRANSPARENT_32_BIT);
	SetPixel(rgba.get(), 1, 0, make_color(0x77, 0x74, 0x77, 255));

	Canvas over(4, 1, kGround);
	over.Painter().DrawBitmap(
		rgb.get(), BRect(0, 0, 1, 0), BRect(0, 0, 1, 0), ModeState(B_OP_OVER));
	over.Painter().DrawBitmap(
		rgba.get(), BRect(0, 0, 1, 0), BRect(2, 0, 3, 0), ModeState(B_OP_OVER));
	EXPECT_EQ(over.At(0, 0), kGround);
	EXPECT_EQ(over.At(1, 0), make_color(0x77, 0x74, 0x78, 0));
	EXPECT_EQ(over.At(2, 0), kGround);
	EXPECT_EQ(over.At(3, 0), make_color(0x77, 0x74, 0x77, 255));

	Canvas copy(2, 1, kGround);
	copy.Painter().DrawBitmap(
		rgba.get(), BRect(0, 0, 1, 0), BRect(0, 0, 1, 0), ModeState(B_OP_COPY));
	EXPECT_EQ(copy.At(0, 0), B_TRANSPARENT_32_BIT);
}


TEST(PainterScaleTest, SameSizeCopiesPixelForPixel)
{
	std::unique_ptr<BBitmap> bitmap(MakeGradient(4, 3));
	Canvas					 canvas(6, 5, kGround);
	canvas.Painter().DrawBitmap(
		bitmap.get(), BRect(0, 0, 3, 2), BRect(1, 1, 4, 3), AlphaState());
	for (int32 y = 0; y < 5; y++) {
		for (int32 x = 0; x < 6; x++) {
			bool	  inside = x >= 1 && x <= 4 && y >= 1 && y <= 3;
			rgb_color expected = inside ? GradientAt(x - 1, y - 1) : kGround;
			expected.alpha = kGround.alpha;
			ASSERT_EQ(canvas.At(x, y), expected) << x << "," << y;
		}
	}
}

TEST(PainterScaleTest, NearestPixelScalingFloorsUnevenRatios)
{
	std::unique_ptr<BBitmap> bitmap(MakeGradient(4, 4));
	Canvas					 twice(8, 8, kGround);
	twice.Painter().DrawBitmap(bitmap.get(), BRect(0, 0, 3, 3),
		BRect(0, 0, 7, 7), ModeState(B_OP_COPY));
	Canvas half(2, 2, kGround);
	half.Painter().DrawBitmap(bitmap.get(), BRect(0, 0, 3, 3),
		BRect(0, 0, 1, 1), ModeState(B_OP_COPY));
	for (int32 y = 0; y < 8; y++) {
		for (int32 x = 0; x < 8; x++) {
			ASSERT_EQ(twice.At(x, y), GradientAt(x / 2, y / 2))
				<< x << "," << y;
			if (x < 2 && y < 2) {
				ASSERT_EQ(half.At(x, y), GradientAt(2 * x, 2 * y))
					<< x << "," << y;
			}
		}
	}

	// Four columns into three: column i samples floor(i * 4 / 3) = 0, 1, 2.
	// Three into five: floor(i * 3 / 5) = 0, 0, 1, 1, 2. A source rectangle
	// picks its part of the bitmap.
	Canvas uneven(5, 2, kGround);
	uneven.Painter().DrawBitmap(bitmap.get(), BRect(0, 0, 3, 0),
		BRect(0, 0, 2, 0), ModeState(B_OP_COPY));
	EXPECT_EQ(uneven.At(2, 0), GradientAt(2, 0));
	uneven.Painter().DrawBitmap(bitmap.get(), BRect(0, 1, 2, 1),
		BRect(0, 0, 4, 0), ModeState(B_OP_COPY));
	const int32 sampled[5] = { 0, 0, 1, 1, 2 };
	for (int32 x = 0; x < 5; x++)
		EXPECT_EQ(uneven.At(x, 0), GradientAt(sampled[x], 1)) << x;
	uneven.Painter().DrawBitmap(bitmap.get(), BRect(2, 3, 3, 3),
		BRect(0, 1, 1, 1), ModeState(B_OP_COPY));
	EXPECT_EQ(uneven.At(0, 1), GradientAt(2, 3));
	EXPECT_EQ(uneven.At(1, 1), GradientAt(3, 3));
}

TEST(PainterScaleTest, SourceOutsideTheBitmapIsClippedWithTheDestination)
{
	std::unique_ptr<BBitmap> bitmap(MakeGradient(2, 2));
	// The source runs one pixel off each side; at twice the size the two
	// destination columns on each side that would sample it stay untouched.
	Canvas					 canvas(8, 2, kGround);
	canvas.Painter().DrawBitmap(bitmap.get(), BRect(-1, 0, 2, 0),
		BRect(0, 0, 7, 1), ModeState(B_OP_COPY));
	for (int32 x = 0; x < 8; x++) {
		rgb_color expected =
			x < 2 || x > 5 ? kGround : GradientAt((x - 2) / 2, 0);
		EXPECT_EQ(canvas.At(x, 0), expected) << x;
	}

	// Entirely outside: nothing.
	Canvas untouched(2, 2, kGround);
	untouched.Painter().DrawBitmap(bitmap.get(), BRect(5, 5, 6, 6),
		BRect(0, 0, 1, 1), ModeState(B_OP_COPY));
	EXPECT_EQ(untouched.At(0, 0), kGround);
	EXPECT_EQ(untouched.At(1, 1), kGround);
}

TEST(PainterClipTest, DrawingStopsAtTheBufferEdges)
{
	std::unique_ptr<BBitmap> bitmap(MakeGradient(4, 4));
	Canvas					 canvas(3, 3, kGround);
	BPrivate::Painter		 painter = canvas.Painter();
	painter.DrawBitmap(bitmap.get(), BRect(0, 0, 3, 3), BRect(-2, -1, 1, 2),
		ModeState(B_OP_COPY));
	EXPECT_EQ(canvas.At(0, 0), GradientAt(2, 1));
	EXPECT_EQ(canvas.At(1, 2), GradientAt(3, 3));
	EXPECT_EQ(canvas.At(2, 0), kGround);

	// Shapes far off the buffer, or overlapping it, stay inside it.
	painter.FillRect(
		BRect(-50, -50, 50, 0), make_color(9, 9, 9), ModeState(B_OP_COPY));
	painter.FillEllipse(
		BRect(-1e9, -1e9, 1e9, 1e9), make_color(9, 9, 9), ModeState(B_OP_COPY));
	painter.StrokeLine(BPoint(-100, 1), BPoint(100, 1), make_color(9, 9, 9),
		ModeState(B_OP_COPY));
	EXPECT_EQ(canvas.At(2, 2), make_color(9, 9, 9));
}

TEST(PainterClipTest, AClipRectangleLimitsEveryOperationToItsPixels)
{
	std::unique_ptr<BBitmap> bitmap(MakeGradient(6, 6));
	Canvas					 canvas(6, 6, kGround);
	BPrivate::Painter		 painter(canvas.buffer, BRect(2, 1, 3, 4));
	rgb_color				 ink = make_color(1, 2, 3);
	painter.DrawBitmap(bitmap.get(), BRect(0, 0, 5, 5), BRect(0, 0, 5, 5),
		ModeState(B_OP_COPY));
	for (int32 y = 0; y < 6; y++) {
		for (int32 x = 0; x < 6; x++) {
			bool inside = x >= 2 && x <= 3 && y >= 1 && y <= 4;
			ASSERT_EQ(canvas.At(x, y), inside ? GradientAt(x, y) : kGround)
				<< x << "," << y;
		}
	}
	painter.FillRect(BRect(0, 0, 5, 5), ink, ModeState(B_OP_COPY));
	painter.StrokeRect(BRect(0, 0, 5, 5), ink, ModeState(B_OP_COPY));
	painter.StrokeLine(BPoint(0, 5), BPoint(5, 0), ink, ModeState(B_OP_COPY));
	painter.FillEllipse(BRect(0, 0, 5, 5), ink, AlphaState());
	EXPECT_EQ(canvas.Picture(BRect(0, 0, 5, 5), ink),
		"......\n"
		"..##..\n"
		"..##..\n"
		"..##..\n"
		"..##..\n"
		"......\n");
}


TEST(PainterShapeTest, EllipsesOfEvenAndThinSizesStayInsideTheirRectangle)
{
	rgb_color		  ink = make_color(0, 0, 0, 255);
	Canvas			  canvas(10, 6, kGround);
	BPrivate::Painter painter = canvas.Painter();
	painter.FillEllipse(BRect(0, 0, 3, 3), ink, ModeState(B_OP_COPY));
	painter.FillEllipse(BRect(5, 0, 5, 0), ink, ModeState(B_OP_COPY));
	painter.FillEllipse(BRect(7, 0, 9, 0), ink, ModeState(B_OP_COPY));
	painter.FillEllipse(BRect(5, 3, 4, 5), ink, ModeState(B_OP_COPY));
	EXPECT_EQ(canvas.Picture(BRect(0, 0, 9, 5), ink),
		".##..#.###\n"
		"####......\n"
		"####......\n"
		".##.......\n"
		"..........\n"
		"..........\n");
}

TEST(PainterShapeTest, LinesDrawBothEndsAndRectOutlinesBlendEachPixelOnce)
{
	rgb_color		  ink = make_color(0, 0, 0, 255);
	Canvas			  canvas(6, 5, kGround);
	BPrivate::Painter painter = canvas.Painter();
	painter.StrokeLine(BPoint(0, 0), BPoint(5, 2), ink, ModeState(B_OP_COPY));
	painter.StrokeLine(BPoint(3, 4), BPoint(3, 4), ink, ModeState(B_OP_COPY));
	EXPECT_EQ(canvas.Picture(BRect(0, 0, 5, 4), ink),
		"##....\n"
		"..##..\n"
		"....##\n"
		"......\n"
		"...#..\n");

	Canvas outline(4, 3, make_color(0, 0, 0, 255));
	outline.Painter().StrokeRect(
		BRect(0, 0, 3, 2), make_color(255, 255, 255, 128), AlphaState());
	rgb_color once = make_color(128, 128, 128, 255);
	EXPECT_EQ(outline.Picture(BRect(0, 0, 3, 2), once),
		"####\n"
		"#..#\n"
		"####\n");
}

TEST(PainterShapeTest, MissingBitmapOrBufferDrawsNothing)
{
	Canvas canvas(2, 2, kGround);
	canvas.Painter().DrawBitmap(
		nullptr, BRect(0, 0, 1, 1), BRect(0, 0, 1, 1), ModeState(B_OP_COPY));
	EXPECT_EQ(canvas.At(0, 0), kGround);

	// A buffer without pixels, as a bitmap that failed to allocate has.
	BPrivate::PixelBuffer empty;
	empty.width = 2;
	empty.height = 2;
	empty.bytesPerRow = 8;
	BPrivate::Painter		 painter(empty, BRect(0, 0, 1, 1));
	std::unique_ptr<BBitmap> bitmap(MakeGradient(2, 2));
	painter.FillRect(
		BRect(0, 0, 1, 1), make_color(1, 2, 3), ModeState(B_OP_COPY));
	painter.DrawBitmap(bitmap.get(), BRect(0, 0, 1, 1), BRect(0, 0, 1, 1),
		ModeState(B_OP_COPY));
	EXPECT_EQ(GetPixel(bitmap.get(), 1, 1), GradientAt(1, 1));
}
