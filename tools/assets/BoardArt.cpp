#include "BoardArt.h"

#include "BoardLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

const int	kRows = 14;
const int	kHoles = 5;
const int	kSamples = 4;
const float kHoleRadius = 4.7f;
const float kMarkRadius = 2.3f;
const int	kPaletteLeft = (int)kPaletteFrame.left;
const int	kPaletteTop = (int)kPaletteFrame.top;
const int	kPitch = kBoardPitch;

// Value noise from a fixed hash, so the picture is the same on every run.
float
Hash(int x, int y, int seed)
{
	uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u
		+ uint32_t(seed) * 2246822519u;
	h = (h ^ (h >> 13)) * 1274126177u;
	h ^= h >> 16;
	return (h & 0xFFFFFF) / float(0x1000000);
}

float
Noise(float x, float y, int seed)
{
	int	  ix = int(std::floor(x)), iy = int(std::floor(y));
	float fx = x - ix, fy = y - iy;
	fx = fx * fx * (3 - 2 * fx);
	fy = fy * fy * (3 - 2 * fy);
	float top = Hash(ix, iy, seed) * (1 - fx) + Hash(ix + 1, iy, seed) * fx;
	float bottom =
		Hash(ix, iy + 1, seed) * (1 - fx) + Hash(ix + 1, iy + 1, seed) * fx;
	return top * (1 - fy) + bottom * fy;
}

float
Fractal(float x, float y, int seed)
{
	float sum = 0, amplitude = 0.5f;
	for (int octave = 0; octave < 4; octave++) {
		sum += amplitude * Noise(x, y, seed + octave);
		x *= 2;
		y *= 2;
		amplitude *= 0.5f;
	}
	return sum;
}

// Walnut with its grain running down the board.
RGB
Wood(float x, float y)
{
	const float kPi = 3.14159265f;
	float warped = x * 0.085f + 2.4f * Fractal(x * 0.018f, y * 0.005f, 11);
	float ring = 0.5f + 0.5f * std::sin(warped * 2 * kPi);
	ring = ring * ring * ring;
	float fibre = Fractal(x * 0.7f, y * 0.04f, 23);
	float amount = std::clamp(0.55f * ring + 0.5f * fibre - 0.1f, 0.0f, 1.0f);
	return Mix(RGB { 176, 114, 62 }, RGB { 104, 60, 30 }, amount);
}

RGB
Felt(float x, float y)
{
	float grain = Fractal(x * 0.9f, y * 0.9f, 41);
	return Mix(RGB { 30, 72, 50 }, RGB { 20, 50, 35 }, grain);
}

// A drilled hole seen from above: the wall shaded at the upper left, a lit
// far wall, and a thin bright lip at the lower right.
RGB
HoleSample(const RGB& under, float u, float v, float radius)
{
	float distance = std::sqrt(u * u + v * v);
	float toward = (u + v) / (radius * 1.414f); // -1 upper left .. 1
	if (distance <= radius) {
		RGB bottom = RGB { 26, 14, 8 };
		return Mix(bottom, Scale(under, 0.62f),
			std::clamp(0.25f + 0.6f * toward, 0.0f, 1.0f)
				* (distance / radius));
	}
	float lip = std::clamp(toward, -1.0f, 1.0f);
	return Scale(under, 1.0f + 0.28f * lip);
}

void
DrawHole(Raster& board, float centerX, float centerY, float radius)
{
	const int first = int(std::floor(centerX - radius - 1));
	const int top = int(std::floor(centerY - radius - 1));
	const int extent = int(std::ceil(2 * radius + 3));
	for (int y = top; y < top + extent; y++) {
		for (int x = first; x < first + extent; x++) {
			if (x < 0 || y < 0 || x >= board.Width() || y >= board.Height())
				continue;
			const RGB under = board.At(x, y);
			RGB		  sum { 0, 0, 0 };
			for (int sy = 0; sy < kSamples; sy++) {
				for (int sx = 0; sx < kSamples; sx++) {
					float u = x + (sx + 0.5f) / kSamples - centerX;
					float v = y + (sy + 0.5f) / kSamples - centerY;
					RGB	  sample = std::sqrt(u * u + v * v) <= radius + 0.9f
						  ? HoleSample(under, u, v, radius)
						  : under;
					sum.red += sample.red;
					sum.green += sample.green;
					sum.blue += sample.blue;
				}
			}
			board.At(x, y) = Scale(sum, 1.0f / (kSamples * kSamples));
		}
	}
}

// A sunken rectangle: dark inner edges at the top and left, light at the
// bottom and right.
void
DrawInset(Raster& board, int left, int top, int right, int bottom)
{
	for (int y = top; y <= bottom; y++) {
		for (int x = left; x <= right; x++) {
			RGB& pixel = board.At(x, y);
			if (x == left || y == top)
				pixel = Scale(pixel, 0.45f);
			else if (x == left + 1 || y == top + 1)
				pixel = Scale(pixel, 0.7f);
			else if (x == right || y == bottom)
				pixel = Mix(pixel, RGB { 255, 230, 190 }, 0.25f);
		}
	}
}

// The frame of the board: a dark outer line and a rounded bevel.
void
DrawFrame(Raster& board)
{
	const int w = board.Width(), h = board.Height();
	for (int y = 0; y < h; y++) {
		for (int x = 0; x < w; x++) {
			int edge = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
			RGB& pixel = board.At(x, y);
			if (edge == 0)
				pixel = Scale(pixel, 0.35f);
			else if (edge <= 2) {
				bool lit = x == edge || y == edge;
				pixel = lit ? Mix(pixel, RGB { 255, 226, 180 }, 0.3f / edge)
							: Scale(pixel, 1.0f - 0.25f / edge);
			}
		}
	}
}

} // namespace


Raster
RenderBoard(const PegPicture pegs[kPegCount])
{
	Raster board(kBoardWidth, kBoardHeight, RGB { 0, 0, 0 });
	for (int y = 0; y < kBoardHeight; y++) {
		for (int x = 0; x < kBoardWidth; x++)
			board.At(x, y) = Wood(x + 0.5f, y + 0.5f);
	}

	// The secret's felt band, holes drilled through it.
	for (int y = kSecretTop - 3; y < kBoardHeight; y++) {
		for (int x = 5; x <= 91; x++)
			board.At(x, y) = Felt(x, y);
	}
	DrawInset(board, 5, kSecretTop - 3, 91, kBoardHeight - 1);

	// The tray of the palette, level with rows 5 to 13.
	const int trayBottom = kPaletteTop + kPegCount * kPitch + 3;
	for (int y = kPaletteTop - 4; y <= trayBottom; y++) {
		for (int x = kPaletteLeft - 4; x <= kPaletteLeft + kPegSize + 3; x++)
			board.At(x, y) = Scale(board.At(x, y), 0.72f);
	}
	DrawInset(board, kPaletteLeft - 4, kPaletteTop - 4,
		kPaletteLeft + kPegSize + 3, trayBottom);
	DrawFrame(board);

	for (int row = 0; row < kRows; row++) {
		for (int i = 0; i < kHoles; i++) {
			// Each hole is drilled in the middle of the square it stands for.
			BRect hole = HoleRect(row, i);
			BRect mark = MarkRect(row, i);
			DrawHole(board, hole.left + kPitch / 2 + 0.5f,
				hole.top + kPitch / 2 + 0.5f, kHoleRadius);
			DrawHole(board, mark.left + kMarkPitch / 2 + 0.5f,
				mark.top + kMarkPitch / 2 + 0.5f, kMarkRadius);
		}
	}
	for (int i = 0; i < kHoles; i++)
		DrawHole(board, SecretRect(i).left + kPitch / 2 + 0.5f,
			kSecretTop + kPitch / 2 + 0.5f, kHoleRadius);

	// The palette shows the pegs exactly as they look when placed.
	for (int k = 0; k < kPegCount; k++) {
		const int top = kPaletteTop + kPitch * k;
		for (int y = 0; y < kPegSize; y++) {
			for (int x = 0; x < kPegSize; x++) {
				if (pegs[k].inside[y * kPegSize + x])
					board.At(kPaletteLeft + x, top + y) =
						pegs[k].pixels.At(x, y);
			}
		}
	}
	return board;
}
