#include <Button.h>

#include <Window.h>

#include <cmath>

#include "interface/ControlLook.h"

using namespace BPrivate;

namespace {

// Space between the label and the button's frame, above and below.
const float		kLabelPadding = 5;
const rgb_color kFaceColor = { 232, 232, 232, 255 };
const rgb_color kPressedFaceColor = { 152, 152, 152, 255 };

} // namespace

BButton::BButton(BRect frame, const char* name, const char* label,
	BMessage* message, uint32 resizingMode, uint32 flags) :
	BView(frame, name, resizingMode, flags),
	BInvoker(message, nullptr),
	fLabel(label != nullptr ? label : ""),
	fTracking(false),
	fPressed(false)
{
	if (frame.Height() <= 0) {
		float width;
		float height;
		GetPreferredSize(&width, &height);
		ResizeTo(frame.Width(), height);
	}
}

BButton::~BButton() = default;

const char*
BButton::Label() const
{
	return fLabel.c_str();
}

void
BButton::SetLabel(const char* label)
{
	fLabel = label != nullptr ? label : "";
	Invalidate();
}

bool
BButton::IsPressed() const
{
	return fPressed;
}

void
BButton::GetPreferredSize(float* width, float* height)
{
	font_height fontHeight;
	GetFontHeight(&fontHeight);
	float textHeight =
		ceilf(fontHeight.ascent + fontHeight.descent + fontHeight.leading);
	// Pixel counts less one, as a frame's width and height are.
	if (width != nullptr)
		*width = ceilf(StringWidth(Label())) + 4 * kLabelPadding - 1;
	if (height != nullptr)
		*height = textHeight + 2 * kLabelPadding - 1;
}

void
BButton::AttachedToWindow()
{
	if (Parent() != nullptr)
		SetViewColor(Parent()->ViewColor());
	if (Target() == nullptr)
		SetTarget(Window());
}

void
BButton::Draw(BRect)
{
	BRect bounds = Bounds();
	SetHighColor(kDarkEdgeColor);
	StrokeRect(bounds);
	BRect face = bounds.InsetByCopy(1, 1);
	SetHighColor(fPressed ? kPressedFaceColor : kFaceColor);
	FillRect(face);
	// Lit from the top left; the light falls the other way when pushed in.
	SetHighColor(fPressed ? kShadowColor : kLightEdgeColor);
	StrokeLine(face.LeftBottom(), face.LeftTop());
	StrokeLine(face.RightTop());
	SetHighColor(fPressed ? kLightEdgeColor : kShadowColor);
	StrokeLine(face.RightTop() + BPoint(0, 1), face.RightBottom());
	StrokeLine(face.LeftBottom() + BPoint(1, 0));

	font_height fontHeight;
	GetFontHeight(&fontHeight);
	float textHeight =
		ceilf(fontHeight.ascent + fontHeight.descent + fontHeight.leading);
	BPoint baseline(floorf((bounds.Width() + 1 - StringWidth(Label())) / 2),
		floorf((bounds.Height() + 1 - textHeight) / 2)
			+ ceilf(fontHeight.ascent));
	SetHighColor(kLabelColor);
	DrawString(Label(), baseline);

	if (IsFocus()) {
		SetHighColor(kFocusColor);
		StrokeRect(face.InsetByCopy(2, 2));
	}
}

void
BButton::_SetPressed(bool pressed)
{
	if (pressed == fPressed)
		return;
	fPressed = pressed;
	Invalidate();
}

void
BButton::KeyDown(const char* bytes, int32 numBytes)
{
	if (numBytes == 1 && (bytes[0] == B_SPACE || bytes[0] == B_ENTER)) {
		Invoke();
		return;
	}
	BView::KeyDown(bytes, numBytes);
}

void
BButton::MouseDown(BPoint)
{
	fTracking = true;
	_SetPressed(true);
}

void
BButton::MouseMoved(BPoint where, uint32, const BMessage*)
{
	if (fTracking)
		_SetPressed(Bounds().Contains(where));
}

void
BButton::MouseUp(BPoint where)
{
	if (!fTracking)
		return;
	fTracking = false;
	_SetPressed(false);
	if (Bounds().Contains(where))
		Invoke();
}
