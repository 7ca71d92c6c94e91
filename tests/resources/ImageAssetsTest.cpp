// The committed pictures in bmp/: sizes, the key colour around the pegs and
// the holes where the board view expects them (the palette is checked
// against the loaded pegs with the board).

#include "TestImages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

const char* const kPegNames[9] = { "red", "yellow", "blue", "green", "purple",
	"orange", "grey", "black", "white" };
const int		  kPegSize = 17;

std::string
AssetPath(const std::string& name)
{
	return std::string(KX_SOURCE_DIR) + "/bmp/" + name;
}

bool
IsKey(const unsigned char* pixel)
{
	return pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255;
}

int
Luma(const unsigned char* pixel)
{
	return (299 * pixel[0] + 587 * pixel[1] + 114 * pixel[2]) / 1000;
}

class Assets : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		ASSERT_TRUE(ReadJpeg(AssetPath("board.jpg"), &fBoard));
		for (int k = 0; k < 9; k++) {
			ASSERT_TRUE(ReadBmp24(
				AssetPath(std::string(kPegNames[k]) + ".bmp"), &fPegs[k]))
				<< kPegNames[k];
		}
	}

	TestImage fBoard;
	TestImage fPegs[9];
};

} // namespace


TEST_F(Assets, HaveTheSizesTheBoardDrawsThemAt)
{
	EXPECT_EQ(fBoard.width, 160);
	EXPECT_EQ(fBoard.height, 249);
	for (int k = 0; k < 9; k++) {
		EXPECT_EQ(fPegs[k].width, kPegSize) << kPegNames[k];
		EXPECT_EQ(fPegs[k].height, kPegSize) << kPegNames[k];
	}
}


TEST_F(Assets, PegsSitOnExactMagentaWithoutPinkFringes)
{
	for (int k = 0; k < 9; k++) {
		const TestImage& peg = fPegs[k];
		for (int corner = 0; corner < 4; corner++) {
			int x = corner % 2 ? kPegSize - 1 : 0,
				y = corner / 2 ? kPegSize - 1 : 0;
			EXPECT_TRUE(IsKey(peg.At(x, y)))
				<< kPegNames[k] << " corner " << corner;
		}
		EXPECT_FALSE(IsKey(peg.At(8, 8))) << kPegNames[k];
		int inside = 0;
		for (int y = 0; y < kPegSize; y++) {
			for (int x = 0; x < kPegSize; x++) {
				const unsigned char* p = peg.At(x, y);
				if (IsKey(p))
					continue;
				inside++;
				// Edges blended towards the key would stay opaque and pink.
				EXPECT_FALSE(p[0] > 200 && p[1] < 80 && p[2] > 200)
					<< kPegNames[k] << " pixel " << x << "," << y;
			}
		}
		EXPECT_GT(inside, 150) << kPegNames[k];
	}
}


namespace {

// The peg's grey levels in its middle with the smooth shading of the bead
// taken away (each pixel minus the mean of its 7 x 7 neighbourhood), scaled
// to zero mean and unit variance: what is left is the shape.
std::vector<double>
ShapeSignature(const TestImage& peg)
{
	const int			kReach = 3;
	std::vector<double> values;
	for (int y = 4; y < 13; y++) {
		for (int x = 4; x < 13; x++) {
			double sum = 0;
			for (int dy = -kReach; dy <= kReach; dy++) {
				for (int dx = -kReach; dx <= kReach; dx++)
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


TEST_F(Assets, PegsDifferInColourAndInShapeAlone)
{
	double				means[9][3] = {};
	std::vector<double> shapes[9];
	for (int k = 0; k < 9; k++) {
		int count = 0;
		for (int y = 0; y < kPegSize; y++) {
			for (int x = 0; x < kPegSize; x++) {
				if (IsKey(fPegs[k].At(x, y)))
					continue;
				for (int c = 0; c < 3; c++)
					means[k][c] += fPegs[k].At(x, y)[c];
				count++;
			}
		}
		for (double& channel : means[k])
			channel /= count;
		shapes[k] = ShapeSignature(fPegs[k]);
	}
	for (int a = 0; a < 9; a++) {
		for (int b = a + 1; b < 9; b++) {
			double distance = std::hypot(means[a][0] - means[b][0],
				means[a][1] - means[b][1], means[a][2] - means[b][2]);
			EXPECT_GT(distance, 35) << kPegNames[a] << " / " << kPegNames[b];
			// The same shape, light or dark, correlates near +1 or -1.
			double correlation = 0;
			for (size_t i = 0; i < shapes[a].size(); i++)
				correlation += shapes[a][i] * shapes[b][i] / shapes[a].size();
			EXPECT_LT(std::fabs(correlation), 0.85)
				<< kPegNames[a] << " / " << kPegNames[b];
		}
	}
}


TEST_F(Assets, HolesAreDarkAtTheirCentresAndTheBoardIsWoodAround)
{
	auto expectHole = [&](int x, int y, const char* what) {
		EXPECT_LT(Luma(fBoard.At(x, y)), 60) << what << " at " << x << "," << y;
	};
	for (int r = 0; r < 14; r++) {
		for (int i = 0; i < 5; i++) {
			expectHole(16 + 16 * i, 9 + 16 * r, "hole");
			expectHole(92 + 8 * i, 5 + 16 * r, "mark place");
			// Between holes the board shows.
			EXPECT_GT(Luma(fBoard.At(8 + 16 * i, 1 + 16 * r)), 60);
		}
	}
	for (int i = 0; i < 5; i++)
		expectHole(16 + 16 * i, 240, "secret hole");
}
