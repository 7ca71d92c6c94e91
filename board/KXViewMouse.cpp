// Dragging a peg from the palette: a press on a palette slot waits for the
// pointer to move with the button held, then drags a message carrying the
// slot's colour with a half-transparent copy of the peg.

#include "KXView.h"

#include <Bitmap.h>
#include <Message.h>
#include <Window.h>

#include "BoardLayout.h"
#include "MessageCodes.h"
#include "Transparency.h"


namespace {

const bigtime_t kPollInterval = 40000;
const BPoint	kDragOffset(10, 10);

} // namespace


void
KXView::MouseDown(BPoint where)
{
	if (cpuActive || !gameActive)
		return;
	int32 color = PaletteSlotAt(where);
	if (color < 0)
		return;

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
