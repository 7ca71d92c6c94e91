// kx-mkassets: draws the game's ten pictures, the board and the nine pegs,
// into the given folder.

#include "BoardArt.h"
#include "ImageFiles.h"
#include "PegArt.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

const int kJpegQuality = 95;

} // namespace


int
main(int argc, char** argv)
{
	if (argc != 2) {
		fprintf(stderr,
			"usage: kx-mkassets FOLDER\n"
			"  writes board.jpg and the nine peg pictures into FOLDER\n");
		return 2;
	}
	const std::string		folder = argv[1];
	std::vector<PegPicture> pegs;
	std::string				error;
	for (int k = 0; k < kPegCount; k++) {
		pegs.push_back(RenderPeg(k));
		std::string path = folder + "/" + kPegNames[k] + ".bmp";
		if (!WriteBmp(path.c_str(), pegs.back().pixels, &error)) {
			fprintf(stderr, "kx-mkassets: %s\n", error.c_str());
			return 1;
		}
	}
	std::string path = folder + "/board.jpg";
	if (!WriteJpeg(
			path.c_str(), RenderBoard(pegs.data()), kJpegQuality, &error)) {
		fprintf(stderr, "kx-mkassets: %s\n", error.c_str());
		return 1;
	}
	return 0;
}
