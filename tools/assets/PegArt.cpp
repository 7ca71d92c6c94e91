#include "PegArt.h"

#include <algorithm>
#include <cmath>

const char* const kPegNames[kPegCount] = { "red", "yellow", "blue", "green",
	"purple", "orange", "grey", "black", "white" };

namespace {

const RGB kBodies[kPegCount] = {
	{ 214, 34, 30 },
	{ 244, 208, 38 },
	{ 38, 84, 218 },
	{ 36, 164, 64 },
	{ 138, 58, 186 },
	{ 244, 128, 22 },
	{ 142, 142, 142 },
	{ 38, 38, 44 },
	{ 240, 238, 232 },
};

const int	kSamples = 4; // per pixel and axis
const float kCenter = kPegSize / 2.0f;
const float kRadius = 7.95f; // leaves the outer rows to the key colour
const float kOutline = 1.1f; // width of the darkened edge

// Whether the point (u, v), measured from the bead's centre in pixels, lies
// on the peg's shape.
bool
OnShape(int color, float u, float v)
{
	const float au = std::fabs(u), av = std::fabs(v);
	const float distance = std::sqrt(u * u + v * v);
	switch (color) {
		case 0: // dot
			return distance <= 2.5f;
		case 1: // ring
			return distance >= 1.7f && distance <= 3.4f;
		case 2: // bar
			return au <= 3.7f && av <= 1.2f;
		case 3: // diagonal cross
			return au <= 3.2f && av <= 3.2f
				&& (std::fabs(u - v) <= 1.3f || std::fabs(u + v) <= 1.3f);
		case 4: // triangle, point up
			return v >= -3.6f && v <= 2.6f && au <= (v + 3.6f) * 0.62f;
		case 5: // diamond
			return au + av <= 4.3f;
		case 6: // square
			return au <= 3.0f && av <= 3.0f;
		case 7: // five-pointed star
		{
			const float kPi = 3.14159265f;
			float		angle = std::atan2(u, -v); // 0 at the top point
			float sector = std::fmod(angle + 2 * kPi, 2 * kPi / 5) - kPi / 5;
			// The star's edge runs between an outer point and an inner notch.
			float outer = 4.4f, inner = 1.9f;
			float t = std::fabs(sector) / (kPi / 5);
			float limit = outer * inner / (inner + (outer - inner) * t);
			return distance <= limit;
		}
		case 8: // plus
			return (au <= 1.0f && av <= 3.6f) || (av <= 1.0f && au <= 3.6f);
	}
	return false;
}

// The shape is dark on light pegs and light on dark ones.
RGB
ShapeColor(const RGB& body)
{
	float luma = 0.3f * body.red + 0.59f * body.green + 0.11f * body.blue;
	if (luma >= 125)
		return Scale(body, 0.28f);
	return Mix(body, RGB { 255, 255, 255 }, 0.8f);
}

} // namespace


PegPicture
RenderPeg(int color)
{
	PegPicture	peg { Raster(kPegSize, kPegSize, kKeyColor),
		 std::vector<bool>(kPegSize * kPegSize, false) };
	const RGB	body = kBodies[color];
	const RGB	shapeColor = ShapeColor(body);
	// Light from the upper left, a little in front.
	const float lx = -0.6f, ly = -0.65f, lz = 0.46f;
	const float hx = lx, hy = ly, hz = lz + 1.0f;
	const float hLength = std::sqrt(hx * hx + hy * hy + hz * hz);

	for (int y = 0; y < kPegSize; y++) {
		for (int x = 0; x < kPegSize; x++) {
			RGB sum { 0, 0, 0 };
			int covered = 0;
			for (int sy = 0; sy < kSamples; sy++) {
				for (int sx = 0; sx < kSamples; sx++) {
					float u = x + (sx + 0.5f) / kSamples - kCenter;
					float v = y + (sy + 0.5f) / kSamples - kCenter;
					float distance = std::sqrt(u * u + v * v);
					if (distance > kRadius)
						continue;
					covered++;
					float nx = u / kRadius, ny = v / kRadius;
					float nz = std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny));
					float diffuse = std::max(0.0f, nx * lx + ny * ly + nz * lz);
					float shade = 0.42f + 0.7f * diffuse;
					float specular = std::pow(
						std::max(0.0f, (nx * hx + ny * hy + nz * hz) / hLength),
						28.0f);
					RGB sample = Mix(Scale(body, shade), RGB { 255, 255, 255 },
						0.55f * specular);
					if (OnShape(color, u, v))
						sample = Scale(shapeColor, 0.85f + 0.2f * diffuse);
					if (distance > kRadius - kOutline) {
						float edge =
							(distance - (kRadius - kOutline)) / kOutline;
						sample = Mix(sample, Scale(body, 0.3f), 0.75f * edge);
					}
					sum.red += sample.red;
					sum.green += sample.green;
					sum.blue += sample.blue;
				}
			}
			// Pixels more than half covered belong to the peg, the rest is
			// key colour.
			if (covered * 2 <= kSamples * kSamples)
				continue;
			RGB pixel = Scale(sum, 1.0f / covered);
			if (std::lround(pixel.red) == 255 && std::lround(pixel.green) == 0
				&& std::lround(pixel.blue) == 255)
				pixel.green = 1; // never the key colour inside the peg
			peg.pixels.At(x, y) = pixel;
			peg.inside[y * kPegSize + x] = true;
		}
	}
	return peg;
}
