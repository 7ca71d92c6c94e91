// The board's picture: the background image, the placed pegs, the marks and,
// once a game is over, the secret, all painted into an offscreen bitmap whose
// update rectangle is then copied to the screen in one go.

#include "KXView.h"

#include <Bitmap.h>
#include <TranslationUtils.h>
#include <Window.h>

#include "BoardLayout.h"
#include "Transparency.h"


namespace {

const char*		kBoardImage = "bmp/board.jpg";
const char*		kPegImages[kPegColorCount] = { "bmp/red.bmp", "bmp/yellow.bmp",
		"bmp/blue.bmp", "bmp/green.bmp", "bmp/purple.bmp", "bmp/orange.bmp",
		"bmp/grey.bmp", "bmp/black.bmp", "bmp/white.bmp" };

const rgb_color kWhite = { 255, 255, 255, 255 };
const rgb_color kBlack = { 0, 0, 0, 255 };

} // namespace


// Decoded ahead of the view by MissingImage, for the view to take over, so
// that each picture is read and decoded once per start.
static BBitmap* sLoadedImages[1 + kPegColorCount];


static BBitmap*
TakeImage(int32 index, const char* path)
{
	BBitmap* bitmap = sLoadedImages[index];
	sLoadedImages[index] = NULL;
	return bitmap != NULL ? bitmap : BTranslationUtils::GetBitmap(path);
}


const char*
KXView::MissingImage()
{
	const char* paths[1 + kPegColorCount] = { kBoardImage };
	for (int32 i = 0; i < kPegColorCount; i++)
		paths[1 + i] = kPegImages[i];
	for (int32 i = 0; i < 1 + kPegColorCount; i++) {
		if (sLoadedImages[i] == NULL)
			sLoadedImages[i] = BTranslationUtils::GetBitmap(paths[i]);
		if (sLoadedImages[i] == NULL)
			return paths[i];
	}
	return NULL;
}


void
KXView::_InitRendering()
{
	// Should a picture fail after all (MissingImage checks them first), the
	// board is drawn without it.
	boardBitmap = TakeImage(0, kBoardImage);

	// Every pixel of an update comes from the offscreen bitmap.
	SetViewColor(B_TRANSPARENT_32_BIT);

	offscreenBitmap = new BBitmap(kBoardArea, B_RGB32, true, false);
	offscreenView = new BView(kBoardArea, "", 0, 0);
	offscreenView->SetDrawingMode(B_OP_ALPHA);
	offscreenView->SetBlendingMode(B_PIXEL_ALPHA, B_ALPHA_OVERLAY);
	offscreenView->SetViewColor(B_TRANSPARENT_32_BIT);
	offscreenBitmap->AddChild(offscreenView);

	for (int32 i = 0; i < kPegColorCount; i++)
		pegBitmaps[i] = TakeImage(1 + i, kPegImages[i]);
	for (int32 i = 0; i < kPegColorCount; i++)
		MakeTransparent(pegBitmaps[i]);
}


void
KXView::RedrawBackground(BView* target)
{
	target->DrawBitmap(boardBitmap, kBoardArea);
}


void
KXView::Draw(BRect updateRect)
{
	offscreenBitmap->Lock();

	RedrawBackground(offscreenView);

	for (int32 row = 0; row < kBoardRowCount; row++) {
		for (int32 hole = 0; hole < kBoardHoleCount; hole++) {
			if (pegs[row][hole].colorIndex != PEG_NONE)
				offscreenView->DrawBitmap(
					pegs[row][hole].bitmap, HoleRect(row, hole));
		}
	}

	for (int32 row = 0; row < kBoardRowCount; row++) {
		for (int32 place = 0; place < kBoardHoleCount; place++) {
			switch (hints[row][place]) {
				case HINT_COLOR:
					offscreenView->SetHighColor(kWhite);
					break;
				case HINT_EXACT:
					offscreenView->SetHighColor(kBlack);
					break;
				default:
					continue;
			}
			offscreenView->FillEllipse(MarkRect(row, place), B_SOLID_HIGH);
		}
	}

	_DrawKeyCursor(offscreenView);

	if (!gameActive) {
		for (int32 hole = 0; hole < kBoardHoleCount; hole++)
			offscreenView->DrawBitmap(
				secretPegs[hole].bitmap, SecretRect(hole));
	}

	offscreenView->Sync();
	DrawBitmap(offscreenBitmap, updateRect, updateRect);
	offscreenBitmap->Unlock();
}
