#ifndef KX_FUZZ_IMAGE_CHECK_H
#define KX_FUZZ_IMAGE_CHECK_H

// What the board does with an image file, in one call: load it, key it to a
// cut-out as a peg, make a half-transparent drag copy, and draw it into an
// offscreen picture of the board's size, as a peg in a hole and stretched
// over the whole board. Shared by the image fuzzer and the regression tests
// of damaged images.

#include <Bitmap.h>
#include <TranslationUtils.h>
#include <View.h>

#include <memory>

#include "BoardLayout.h"
#include "Transparency.h"

namespace kxtest {

class ImageCheck {
public:
	ImageCheck() :
		fSurface(BRect(0, 0, 159, 248), B_RGB32, true),
		fView(new BView(fSurface.Bounds(), "", 0, 0))
	{
		fView->SetDrawingMode(B_OP_ALPHA);
		fView->SetBlendingMode(B_PIXEL_ALPHA, B_ALPHA_OVERLAY);
		fSurface.AddChild(fView);
	}

	// The loaded and keyed bitmap, or null when the file was refused.
	std::unique_ptr<BBitmap>
	Run(const char* path)
	{
		std::unique_ptr<BBitmap> image(BTranslationUtils::GetBitmap(path));
		MakeTransparent(image.get());
		std::unique_ptr<BBitmap> drag;
		if (image != nullptr) {
			drag.reset(new BBitmap(image.get()));
			MakeSemiTransparent(drag.get());
		}

		fSurface.Lock();
		fView->DrawBitmap(image.get(), fSurface.Bounds());
		fView->DrawBitmap(image.get(), HoleRect(0, 0));
		fView->DrawBitmap(drag.get(), PaletteSlotRect(0));
		fView->Sync();
		fSurface.Unlock();
		return image;
	}

	// Bytes blue, green, red, alpha of a pixel of the picture.
	const uint8*
	PixelAt(int32 x, int32 y) const
	{
		return static_cast<const uint8*>(fSurface.Bits())
			+ y * fSurface.BytesPerRow() + x * 4;
	}

	BBitmap fSurface;
	BView*	fView;
};

} // namespace kxtest

#endif
