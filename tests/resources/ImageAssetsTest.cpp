// The committed pictures in bmp/, read with the image library directly
// rather than the platform's loader: sizes, the key colour around the pegs
// and the holes where the board view expects them (the palette is checked
// against the loaded pegs with the board).

#include <SupportDefs.h>

#include <SDL2/SDL_image.h>

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

const char* const kPegNames[9] = { "red", "yellow", "blue", "green", "purple",
	"orange", "grey", "black", "white" };
const int		  kPegSize = 17;

// A picture as 24-bit RGB, its rows from the top.
struct Picture {
	SDL_Surface* surface = nullptr;

	~Picture() { SDL_FreeSurface(surface); }

	bool
	Load(const std::string& name)
	{
		std::string	 path = std::string(KX_SOURCE_DIR) + "/bmp/" + name;
		SDL_Surface* loaded = IMG_Load(path.c_str());
		if (loaded != nullptr)
			surface =
				SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0);
		SDL_FreeSurface(loaded);
		return surface != nullptr;
	}

	const uint8*
	At(int x, int y) const
	{
		return (const uint8*)surface->pixels + y * surface->pitch + x * 3;
	}
};

bool
IsKey(const uint8* pixel)
{
	return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255;
}

int
Luma(const uint8* pixel)
{
	return (299 * pixel[0] + 587 * pixel[1] + 114 * pixel[2]) / 1000;
}

// The peg's grey levels in its middle with the smooth shading of the bead
// taken away (each pixel minus the mean of its 7 x 7 neighbourhood), scaled
// to zero mean and unit variance: what is left is the shape.
std::vector<double>
ShapeSignature(const Picture& peg)
{
	std::vector<double> values;
	for (int y = 4; y < 13; y++) {
		for (int x = 4; x < 13; x++) {
			double sum = 0;
			for (int dy = -3; dy <= 3; dy++) {
				for (int dx = -3; dx <= 3; dx++)
					sum += Luma(peg.At(x + dx, y + dy));
			}
			values.push_back(Luma(peg.At(x, y)) - sum / 49);
		}
	}
	double mean = 0, variance = 0;
	for (double v : values)
		mean += v / values.size();
	for (double v : values)
		variance += (v - mean) * (v - mean) / values.size();
	for (double& v : values)
		v = (v - mean) / std::sqrt(variance);
	return values;
}

} // namespace

TEST(Assets, PegsSitOnExactMagentaWithoutPinkFringesAndDifferInColourAndShape)
{
	double				means[9][3] = {};
	std::vector<double> shapes[9];
	for (int k = 0; k < 9; k++) {
		SCOPED_TRACE(kPegNames[k]);
		Picture peg;
		ASSERT_TRUE(peg.Load(std::string(kPegNames[k]) + ".bmp"));
		ASSERT_EQ(peg.surface->w, kPegSize);
		ASSERT_EQ(peg.surface->h, kPegSize);
		for (int corner = 0; corner < 4; corner++)
			EXPECT_TRUE(IsKey(peg.At(corner % 2 * 16, corner / 2 * 16)));
		int inside = 0;
		for (int y = 0; y < kPegSize; y++) {
			for (int x = 0; x < kPegSize; x++) {
				const uint8* p = peg.At(x, y);
				if (IsKey(p))
					continue;
				inside++;
				for (int c = 0; c < 3; c++)
					means[k][c] += p[c];
				// Edges blended towards the key would stay opaque and pink.
				EXPECT_FALSE(p[0] > 200 && p[1] < 80 && p[2] > 200)
					<< x << "," << y;
			}
		}
		EXPECT_GT(inside, 150);
		for (double& channel : means[k])
			channel /= inside;
		shapes[k] = ShapeSignature(peg);
	}
	for (int a = 0; a < 9; a++) {
		for (int b = a + 1; b < 9; b++) {
			SCOPED_TRACE(std::string(kPegNames[a]) + " / " + kPegNames[b]);
			EXPECT_GT(std::hypot(means[a][0] - means[b][0],
						  means[a][1] - means[b][1], means[a][2] - means[b][2]),
				35);
			// The same shape, light or dark, correlates near +1 or -1.
			double correlation = 0;
			for (size_t i = 0; i < shapes[a].size(); i++)
				correlation += shapes[a][i] * shapes[b][i] / shapes[a].size();
			EXPECT_LT(std::fabs(correlation), 0.85);
		}
	}
}

TEST(Assets, HolesAreDarkAtTheirCentresAndTheBoardIsWoodAround)
{
	Picture board;
	ASSERT_TRUE(board.Load("board.jpg"));
	EXPECT_EQ(board.surface->w, 160);
	EXPECT_EQ(board.surface->h, 249);
	auto expectHole = [&](int x, int y, const char* what) {
		EXPECT_LT(Luma(board.At(x, y)), 60) << what << " at " << x << "," << y;
	};
	for (int r = 0; r < 14; r++) {
		for (int i = 0; i < 5; i++) {
			expectHole(16 + 16 * i, 9 + 16 * r, "hole");
			expectHole(92 + 8 * i, 5 + 16 * r, "mark place");
			// Between holes the board shows.
			EXPECT_GT(Luma(board.At(8 + 16 * i, 1 + 16 * r)), 60);
		}
	}
	for (int i = 0; i < 5; i++)
		expectHole(16 + 16 * i, 240, "secret hole");
}
