#include "GraphicsTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using BPrivate::BlendState;

namespace {

const rgb_color kGround = { 100, 50, 0, 77 };
const rgb_color kInk = { 0, 0, 0, 255 };

BlendState
State(drawing_mode mode, alpha_function function = B_ALPHA_OVERLAY,
	source_alpha source = B_PIXEL_ALPHA, uint8 constant = 255)
{
	BlendState state;
	state.mode = mode;
	state.sourceAlpha = source;
	state.alphaFunction = function;
	state.constantAlpha = constant;
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
			make_color(200, 250, 10, alphas[x]), State(B_OP_ALPHA));
	}
	Canvas bitmaps(3, 1, kGround);
	bitmaps.Painter().DrawBitmap(
		bitmap.get(), BRect(0, 0, 2, 0), BRect(0, 0, 2, 0), State(B_OP_ALPHA));

	// A constant alpha of 150 replaces every pixel's own, and a shape's.
	Canvas	   constant(3, 1, kGround);
	BlendState state =
		State(B_OP_ALPHA, B_ALPHA_OVERLAY, B_CONSTANT_ALPHA, 150);
	constant.Painter().DrawBitmap(
		bitmap.get(), BRect(0, 0, 1, 0), BRect(0, 0, 1, 0), state);
	constant.Painter().FillRect(
		BRect(2, 0, 2, 0), make_color(200, 250, 10, 0), state);

	// (200 * 150 + 100 * 105 + 127) / 255 = 159, and so on.
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
	struct Case {
		uint8	  groundAlpha;
		rgb_color expected;
	} cases[] = {
		// Over nothing, the source is all there is.
		{ 0, source },
		// Alpha 150 + 100 * 105 / 255 = 191; the colours are the means
		// weighted 150 * 255 : 100 * 105.
		{ 100, make_color(178, 207, 8, 191) },
		// Over an opaque picture it is the overlay, made opaque.
		{ 255, make_color(159, 168, 6, 255) },
	};
	for (const Case& c : cases) {
		Canvas canvas(1, 1, make_color(100, 50, 0, c.groundAlpha));
		canvas.Painter().FillRect(
			BRect(0, 0, 0, 0), source, State(B_OP_ALPHA, B_ALPHA_COMPOSITE));
		EXPECT_EQ(canvas.At(0, 0), c.expected) << (int)c.groundAlpha;
	}

	// Rounding the result's alpha must never push a white channel past 255.
	for (int dstAlpha = 0; dstAlpha < 256; dstAlpha += 3) {
		for (int alpha = 1; alpha < 256; alpha += 2) {
			Canvas canvas(1, 1, make_color(255, 255, 255, dstAlpha));
			canvas.Painter().FillRect(BRect(0, 0, 0, 0),
				make_color(255, 255, 255, alpha),
				State(B_OP_ALPHA, B_ALPHA_COMPOSITE));
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
		rgb.get(), BRect(0, 0, 1, 0), BRect(0, 0, 1, 0), State(B_OP_OVER));
	over.Painter().DrawBitmap(
		rgba.get(), BRect(0, 0, 1, 0), BRect(2, 0, 3, 0), State(B_OP_OVER));
	EXPECT_EQ(over.At(0, 0), kGround);
	EXPECT_EQ(over.At(1, 0), make_color(0x77, 0x74, 0x78, 0));
	EXPECT_EQ(over.At(2, 0), kGround);
	EXPECT_EQ(over.At(3, 0), make_color(0x77, 0x74, 0x77, 255));

	Canvas copy(2, 1, kGround);
	copy.Painter().DrawBitmap(
		rgba.get(), BRect(0, 0, 1, 0), BRect(0, 0, 1, 0), State(B_OP_COPY));
	EXPECT_EQ(copy.At(0, 0), B_TRANSPARENT_32_BIT);
}

TEST(PainterScaleTest, NearestPixelSamplingClippedToBitmapAndBuffer)
{
	// Destination pixel i of an axis samples source pixel
	// floor(i * sourceCount / count); a sample off the 4 by 4 bitmap, or a
	// destination pixel off the canvas, leaves the canvas as it was.
	struct Case {
		BRect source;
		BRect dest;
		int32 width;
		int32 height;
	} cases[] = {
		{ BRect(0, 0, 3, 2), BRect(1, 1, 4, 3), 6, 5 },	   // same size
		{ BRect(0, 0, 3, 3), BRect(0, 0, 7, 7), 8, 8 },	   // twice
		{ BRect(0, 0, 3, 3), BRect(0, 0, 1, 1), 2, 2 },	   // half
		{ BRect(0, 0, 3, 0), BRect(0, 0, 2, 0), 3, 1 },	   // 4 into 3
		{ BRect(0, 1, 2, 1), BRect(0, 0, 4, 0), 5, 1 },	   // 3 into 5
		{ BRect(2, 3, 3, 3), BRect(1, 1, 2, 1), 4, 2 },	   // a part
		{ BRect(-1, 0, 3, 0), BRect(0, 0, 11, 1), 12, 2 }, // off the left
		{ BRect(2, 0, 5, 0), BRect(0, 0, 7, 0), 8, 1 },	   // off the right
		{ BRect(0, 0, 3, 1), BRect(0, 0, 1, 3), 2, 4 },	  // narrower and taller
		{ BRect(5, 5, 6, 6), BRect(0, 0, 1, 1), 2, 2 },	  // off entirely
		{ BRect(0, 0, 3, 3), BRect(-2, -1, 1, 2), 3, 3 }, // off the buffer
	};
	std::unique_ptr<BBitmap> bitmap(MakeGradient(4, 4));
	for (const Case& c : cases) {
		SCOPED_TRACE(testing::Message() << "source left " << c.source.left
										<< " dest right " << c.dest.right);
		Canvas canvas(c.width, c.height, kGround);
		canvas.Painter().DrawBitmap(
			bitmap.get(), c.source, c.dest, State(B_OP_COPY));
		int32 sourceWidth = c.source.IntegerWidth() + 1;
		int32 sourceHeight = c.source.IntegerHeight() + 1;
		for (int32 y = 0; y < c.height; y++) {
			for (int32 x = 0; x < c.width; x++) {
				int32 sx = (int32)c.source.left
					+ (x - (int32)c.dest.left) * sourceWidth
						/ (c.dest.IntegerWidth() + 1);
				int32 sy = (int32)c.source.top
					+ (y - (int32)c.dest.top) * sourceHeight
						/ (c.dest.IntegerHeight() + 1);
				bool sampled = c.dest.Contains(BPoint(x, y)) && sx >= 0
					&& sx < 4 && sy >= 0 && sy < 4;
				ASSERT_EQ(
					canvas.At(x, y), sampled ? GradientAt(sx, sy) : kGround)
					<< x << "," << y;
			}
		}
	}
}

TEST(PainterClipTest, DrawingStopsAtTheBufferAndAtAClipRectangle)
{
	Canvas			  edges(3, 3, kGround);
	BPrivate::Painter painter = edges.Painter();
	painter.FillRect(BRect(-50, -50, 50, 0), kInk, State(B_OP_COPY));
	painter.FillEllipse(BRect(-1e9, -1e9, 1e9, 1e9), kInk, State(B_OP_COPY));
	painter.StrokeLine(BPoint(-100, 1), BPoint(100, 1), kInk, State(B_OP_COPY));
	EXPECT_EQ(edges.At(2, 2), kInk);

	// Without a bitmap, or into a buffer without pixels (as a bitmap that
	// failed to allocate has), nothing is drawn.
	std::unique_ptr<BBitmap> bitmap(MakeGradient(6, 6));
	painter.DrawBitmap(
		nullptr, BRect(0, 0, 1, 1), BRect(0, 0, 1, 1), State(B_OP_COPY));
	BPrivate::PixelBuffer empty = edges.buffer;
	empty.bits = nullptr;
	BPrivate::Painter nowhere(empty, BRect(0, 0, 2, 2));
	nowhere.FillRect(BRect(0, 0, 2, 2), kInk, State(B_OP_COPY));
	nowhere.DrawBitmap(
		bitmap.get(), BRect(0, 0, 2, 2), BRect(0, 0, 2, 2), State(B_OP_COPY));

	Canvas			  canvas(6, 6, kGround);
	BPrivate::Painter clipped(canvas.buffer, BRect(2, 1, 3, 4));
	clipped.DrawBitmap(
		bitmap.get(), BRect(0, 0, 5, 5), BRect(0, 0, 5, 5), State(B_OP_COPY));
	for (int32 y = 0; y < 6; y++) {
		for (int32 x = 0; x < 6; x++) {
			bool inside = x >= 2 && x <= 3 && y >= 1 && y <= 4;
			ASSERT_EQ(canvas.At(x, y), inside ? GradientAt(x, y) : kGround)
				<< x << "," << y;
		}
	}
	clipped.FillRect(BRect(0, 0, 5, 5), kInk, State(B_OP_COPY));
	clipped.StrokeRect(BRect(0, 0, 5, 5), kInk, State(B_OP_COPY));
	clipped.StrokeLine(BPoint(0, 5), BPoint(5, 0), kInk, State(B_OP_COPY));
	clipped.FillEllipse(BRect(0, 0, 5, 5), kInk, State(B_OP_ALPHA));
	EXPECT_EQ(canvas.Picture(BRect(0, 0, 5, 5), kInk),
		"......\n"
		"..##..\n"
		"..##..\n"
		"..##..\n"
		"..##..\n"
		"......\n");
}

TEST(PainterShapeTest, EllipsesAndLinesCoverExactlyTheirPixels)
{
	Canvas			  canvas(10, 9, kGround);
	BPrivate::Painter painter = canvas.Painter();
	painter.FillEllipse(BRect(0, 0, 3, 3), kInk, State(B_OP_COPY));
	painter.FillEllipse(BRect(5, 0, 5, 0), kInk, State(B_OP_COPY));
	painter.FillEllipse(BRect(7, 0, 9, 0), kInk, State(B_OP_COPY));
	painter.FillEllipse(BRect(5, 3, 4, 5), kInk, State(B_OP_COPY));
	// Lines draw both ends.
	painter.StrokeLine(BPoint(0, 6), BPoint(5, 8), kInk, State(B_OP_COPY));
	painter.StrokeLine(BPoint(7, 8), BPoint(7, 8), kInk, State(B_OP_COPY));
	EXPECT_EQ(canvas.Picture(BRect(0, 0, 9, 8), kInk),
		".##..#.###\n"
		"####......\n"
		"####......\n"
		".##.......\n"
		"..........\n"
		"..........\n"
		"##........\n"
		"..##......\n"
		"....##.#..\n");

	// An outline blends each of its pixels once, corners included.
	Canvas outline(4, 3, kInk);
	outline.Painter().StrokeRect(
		BRect(0, 0, 3, 2), make_color(255, 255, 255, 128), State(B_OP_ALPHA));
	EXPECT_EQ(outline.Picture(BRect(0, 0, 3, 2), make_color(128, 128, 128)),
		"####\n"
		"#..#\n"
		"####\n");
}
