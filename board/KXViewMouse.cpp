// Dragging a peg from the palette: a press on a palette slot waits for the
// pointer to move with the button held, then drags a message carrying the
// slot's colour with a half-transparent copy of the peg.

#include "KXView.h"

#include <Bitmap.h>
#include <Message.h>
#include <Window.h>

#include "MessageCodes.h"
#include "Transparency.h"


namespace {

const BRect kPalette(136, 81, 152, 225);
const bigtime_t kPollInterval = 40000;
const BPoint kDragOffset(10, 10);


BRect
PaletteSlot(int32 color)
{
	return BRect(136, 81 + 16 * color, 152, 97 + 16 * color);
}

}	// namespace


void
KXView::MouseDown(BPoint where)
{
	if (cpuActive || !gameActive)
		return;
	if (!kPalette.Contains(where))
		return;

	// A point on a line shared by two slots takes the upper one.
	int32 color = 0;
	while (color < kPegColorCount - 1 && !PaletteSlot(color).Contains(where))
		color++;

	while (true) {
		BPoint now;
		uint32 buttons;
		GetMouse(&now, &buttons, true);
		if (buttons == 0) {
			Window()->Activate(true);
			return;
		}
		if (now != where)
			break;
		snooze(kPollInterval);
	}

	BMessage* message = new BMessage(MSG_DROP);
	message->AddInt32("Kalvex:color", color);

	BBitmap* image = new BBitmap(pegBitmaps[color]);
	MakeSemiTransparent(image);

	DragMessage(message, image, B_OP_ALPHA, kDragOffset, Window());
	delete message;
}
