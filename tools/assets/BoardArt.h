#ifndef _KX_BOARD_ART_H
#define _KX_BOARD_ART_H

// The wooden board: fourteen rows of five holes with five mark holes
// beside each, the felt band that holds the secret, and the tray with the
// nine pegs to pick from, all where the board view expects them.

#include "PegArt.h"

const int kBoardWidth = 160;
const int kBoardHeight = 249;

Raster	  RenderBoard(const PegPicture pegs[kPegCount]);

#endif
