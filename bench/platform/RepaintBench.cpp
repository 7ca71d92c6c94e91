// One full picture of the board as the board view paints it: the background
// into the offscreen buffer, 70 pegs, 70 marks and the secret, then the copy
// of the whole buffer onto the window surface below the menu bar.

#include "interface/Painter.h"

#include <Bitmap.h>

#include "BoardLayout.h"
#include "KXView.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using BPrivate::BlendState;
using BPrivate::Painter;
using BPrivate::PixelBuffer;

namespace {

void
Fill(BBitmap* bitmap, uint8 blue, uint8 green, uint8 red)
{
	uint8* bits = (uint8*)bitmap->Bits();
	int32  width = bitmap->Bounds().IntegerWidth() + 1;
	int32  height = bitmap->Bounds().IntegerHeight() + 1;
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++) {
			uint8* p = bits + y * bitmap->BytesPerRow() + x * 4;
			p[0] = (uint8)(blue + x);
			p[1] = (uint8)(green + y);
			p[2] = red;
			p[3] = 255;
		}
	}
}

// A keyed peg: a disc of colour on magenta, the magenta made transparent.
BBitmap*
MakePeg(uint8 red)
{
	BBitmap* peg = new BBitmap(BRect(0, 0, 16, 16), B_RGB32);
	uint8*	 bits = (uint8*)peg->Bits();
	for (int32 y = 0; y < 17; y++) {
		for (int32 x = 0; x < 17; x++) {
			uint8* p = bits + y * peg->BytesPerRow() + x * 4;
			bool   key = (x - 8) * (x - 8) + (y - 8) * (y - 8) > 49;
			p[0] = key ? 255 : 40;
			p[1] = key ? 0 : 80;
			p[2] = key ? 255 : red;
			p[3] = key ? 0 : 255;
		}
	}
	return peg;
}

PixelBuffer
BufferOf(BBitmap* bitmap)
{
	PixelBuffer buffer;
	buffer.bits = (uint8*)bitmap->Bits();
	buffer.width = bitmap->Bounds().IntegerWidth() + 1;
	buffer.height = bitmap->Bounds().IntegerHeight() + 1;
	buffer.bytesPerRow = bitmap->BytesPerRow();
	return buffer;
}

void
BM_FullRepaint(benchmark::State& state)
{
	std::unique_ptr<BBitmap> background(new BBitmap(kBoardArea, B_RGB32));
	Fill(background.get(), 30, 60, 90);
	std::unique_ptr<BBitmap> offscreen(new BBitmap(kBoardArea, B_RGB32, true));
	std::vector<std::unique_ptr<BBitmap>> pegs;
	for (int i = 0; i < kPegColorCount; i++)
		pegs.emplace_back(MakePeg((uint8)(i * 28)));

	std::vector<uint8> window(160 * 269 * 4);
	PixelBuffer		   surface;
	surface.bits = window.data();
	surface.width = 160;
	surface.height = 269;
	surface.bytesPerRow = 160 * 4;

	BlendState alpha;
	alpha.mode = B_OP_ALPHA;
	alpha.sourceAlpha = B_PIXEL_ALPHA;
	alpha.alphaFunction = B_ALPHA_OVERLAY;
	BlendState copy;
	copy.mode = B_OP_COPY;
	const BRect		pegBounds(0, 0, kBoardPitch, kBoardPitch);
	// The board's picture where the window shows it, below the menu bar.
	const BRect		onScreen = kBoardArea.OffsetByCopy(kBoardFrame.LeftTop());
	const rgb_color black = { 0, 0, 0, 255 };
	const rgb_color white = { 255, 255, 255, 255 };

	for (auto _ : state) {
		Painter board(BufferOf(offscreen.get()), kBoardArea);
		board.DrawBitmap(background.get(), kBoardArea, kBoardArea, alpha);
		for (int r = 0; r < kBoardRowCount; r++) {
			for (int i = 0; i < kBoardHoleCount; i++) {
				board.DrawBitmap(pegs[(r + i) % kPegColorCount].get(),
					pegBounds, HoleRect(r, i), alpha);
			}
		}
		for (int r = 0; r < kBoardRowCount; r++) {
			for (int i = 0; i < kBoardHoleCount; i++) {
				board.FillEllipse(
					MarkRect(r, i), (r + i) % 2 ? white : black, alpha);
			}
		}
		for (int i = 0; i < kBoardHoleCount; i++)
			board.DrawBitmap(pegs[i].get(), pegBounds, SecretRect(i), alpha);

		Painter screen(surface, onScreen);
		screen.DrawBitmap(offscreen.get(), kBoardArea, onScreen, copy);
		benchmark::DoNotOptimize(window.data());
		benchmark::ClobberMemory();
	}
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

} // namespace
