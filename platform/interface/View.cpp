#include <View.h>

#include <AppDefs.h>
#include <Bitmap.h>
#include <Message.h>
#include <Window.h>

#include <algorithm>
#include <cstring>

#include "Desktop.h"
#include "interface/Painter.h"

using BPrivate::BlendState;
using BPrivate::Painter;
using BPrivate::PixelBuffer;

// Where a view's drawing goes: a pixel buffer, the clip in buffer pixels and
// the position of the view's origin in the buffer.
struct _ViewTarget {
	PixelBuffer buffer;
	BRect		clip;
	BPoint		origin;
};

BView::BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags) :
	BHandler(name),
	fFrame(frame),
	fResizingMode(resizingMode),
	fFlags(flags),
	fWindow(nullptr),
	fParent(nullptr),
	fOwnerBitmap(nullptr),
	fViewColor { 255, 255, 255, 255 },
	fHighColor { 0, 0, 0, 255 },
	fLowColor { 255, 255, 255, 255 },
	fDrawingMode(B_OP_COPY),
	fSourceAlpha(B_PIXEL_ALPHA),
	fAlphaFunction(B_ALPHA_OVERLAY),
	fFont(be_plain_font),
	fHasUpdateClip(false)
{ }

BView::~BView()
{
	// A view deleted with its window, still in it, leaves no focus behind
	// for the views deleted after it to find.
	if (fWindow != nullptr)
		fWindow->_ForgetFocus(this);
	for (BView* child : fChildren) {
		child->fParent = nullptr;
		delete child;
	}
}

void
BView::AttachedToWindow()
{ }
void
BView::DetachedFromWindow()
{ }
void
BView::Draw(BRect)
{ }
void
BView::MouseDown(BPoint)
{ }
void
BView::MouseUp(BPoint)
{ }
void
BView::MouseMoved(BPoint, uint32, const BMessage*)
{ }

void
BView::KeyDown(const char* bytes, int32 numBytes)
{
	if (fWindow == nullptr || numBytes < 1 || bytes[0] != B_TAB)
		return;
	// Tab goes to the next control, Shift+Tab to the one before; with
	// Control or Command held it is left to the view.
	int32 modifiers = 0;
	if (BMessage* message = fWindow->CurrentMessage())
		message->FindInt32("modifiers", &modifiers);
	if ((modifiers & (B_CONTROL_KEY | B_COMMAND_KEY)) != 0)
		return;
	fWindow->_Navigate((modifiers & B_SHIFT_KEY) != 0);
}

void
BView::MakeFocus(bool focus)
{
	if (fWindow == nullptr)
		return;
	if (focus)
		fWindow->_SetFocus(this);
	else if (fWindow->CurrentFocus() == this)
		fWindow->_SetFocus(nullptr);
}

bool
BView::IsFocus() const
{
	return fWindow != nullptr && fWindow->CurrentFocus() == this;
}

void
BView::MessageReceived(BMessage* message)
{
	// Unhandled: on to the parent view, and from the top to the window.
	if (fParent != nullptr)
		fParent->MessageReceived(message);
	else if (fWindow != nullptr)
		fWindow->MessageReceived(message);
	else
		BHandler::MessageReceived(message);
}

BWindow*
BView::Window() const
{
	return fWindow;
}

BView*
BView::Parent() const
{
	return fParent;
}

void
BView::_SetWindow(BWindow* window)
{
	fWindow = window;
	if (window != nullptr)
		window->AddHandler(this);
	for (BView* child : fChildren)
		child->_SetWindow(window);
	if (window != nullptr)
		AttachedToWindow();
}

void
BView::AddChild(BView* view, BView* before)
{
	if (view == nullptr || view->fParent != nullptr)
		return;
	auto position = std::find(fChildren.begin(), fChildren.end(), before);
	fChildren.insert(position, view);
	view->fParent = this;
	view->fOwnerBitmap = fOwnerBitmap;
	if (fWindow != nullptr) {
		view->_SetWindow(fWindow);
		view->Invalidate();
	}
}

bool
BView::RemoveChild(BView* view)
{
	auto it = std::find(fChildren.begin(), fChildren.end(), view);
	if (it == fChildren.end())
		return false;
	if (fWindow != nullptr)
		Invalidate(view->Frame());
	fChildren.erase(it);
	view->fParent = nullptr;
	if (view->fWindow != nullptr) {
		view->fWindow->_ForgetFocus(view);
		view->DetachedFromWindow();
		view->fWindow->RemoveHandler(view);
		view->_SetWindow(nullptr);
	}
	return true;
}

bool
BView::RemoveSelf()
{
	return fParent != nullptr && fParent->RemoveChild(this);
}

int32
BView::CountChildren() const
{
	return (int32)fChildren.size();
}

BView*
BView::ChildAt(int32 index) const
{
	if (index < 0 || index >= (int32)fChildren.size())
		return nullptr;
	return fChildren[index];
}

BView*
BView::FindView(const char* name) const
{
	return _FindViewAmong(fChildren, name);
}

BView*
BView::_FindViewAmong(const std::vector<BView*>& views, const char* name)
{
	for (BView* view : views) {
		if (name != nullptr && strcmp(view->Name(), name) == 0)
			return view;
		if (BView* found = view->FindView(name))
			return found;
	}
	return nullptr;
}

BRect
BView::Frame() const
{
	return fFrame;
}

BRect
BView::Bounds() const
{
	return BRect(0, 0, fFrame.Width(), fFrame.Height());
}

void
BView::MoveTo(BPoint where)
{
	if (fWindow != nullptr && fParent != nullptr)
		fParent->Invalidate(fFrame);
	fFrame.OffsetTo(where);
	Invalidate();
}

void
BView::ResizeTo(float width, float height)
{
	if (fWindow != nullptr && fParent != nullptr)
		fParent->Invalidate(fFrame);
	fFrame.right = fFrame.left + width;
	fFrame.bottom = fFrame.top + height;
	Invalidate();
}

uint32
BView::Flags() const
{
	return fFlags;
}

uint32
BView::ResizingMode() const
{
	return fResizingMode;
}

BPoint
BView::ConvertToParent(BPoint point) const
{
	return point + fFrame.LeftTop();
}

BPoint
BView::ConvertFromParent(BPoint point) const
{
	return point - fFrame.LeftTop();
}

BRect
BView::ConvertToParent(BRect rect) const
{
	return rect.OffsetByCopy(fFrame.LeftTop());
}

BRect
BView::ConvertFromParent(BRect rect) const
{
	return rect.OffsetByCopy(BPoint(-fFrame.left, -fFrame.top));
}

BPoint
BView::ConvertToWindow(BPoint point) const
{
	for (const BView* view = this; view != nullptr; view = view->fParent)
		point = view->ConvertToParent(point);
	return point;
}

BPoint
BView::ConvertFromWindow(BPoint point) const
{
	BPoint origin = ConvertToWindow(BPoint(0, 0));
	return point - origin;
}

BRect
BView::ConvertToWindow(BRect rect) const
{
	return rect.OffsetByCopy(ConvertToWindow(BPoint(0, 0)));
}

BRect
BView::ConvertFromWindow(BRect rect) const
{
	BPoint origin = ConvertToWindow(BPoint(0, 0));
	return rect.OffsetByCopy(BPoint(-origin.x, -origin.y));
}

BPoint
BView::ConvertToScreen(BPoint point) const
{
	point = ConvertToWindow(point);
	return fWindow != nullptr ? fWindow->ConvertToScreen(point) : point;
}

BPoint
BView::ConvertFromScreen(BPoint point) const
{
	if (fWindow != nullptr)
		point = fWindow->ConvertFromScreen(point);
	return ConvertFromWindow(point);
}

BRect
BView::ConvertToScreen(BRect rect) const
{
	return rect.OffsetByCopy(ConvertToScreen(BPoint(0, 0)));
}

BRect
BView::ConvertFromScreen(BRect rect) const
{
	BPoint origin = ConvertToScreen(BPoint(0, 0));
	return rect.OffsetByCopy(BPoint(-origin.x, -origin.y));
}

void
BView::Invalidate()
{
	Invalidate(Bounds());
}

void
BView::Invalidate(BRect rect)
{
	if (fWindow == nullptr)
		return;
	fWindow->_Invalidate(ConvertToWindow(rect & Bounds()));
}

void
BView::GetMouse(BPoint* location, uint32* buttons, bool /*checkMessageQueue*/)
{
	BPoint screen;
	uint32 pressed;
	BPrivate::Desktop::Default()->GetPointer(&screen, &pressed);
	if (location != nullptr)
		*location = ConvertFromScreen(screen);
	if (buttons != nullptr)
		*buttons = pressed;
}

void
BView::DragMessage(BMessage* message, BBitmap* image, drawing_mode /*dragMode*/,
	BPoint offset, BHandler* /*replyTo*/)
{
	if (message == nullptr) {
		delete image;
		return;
	}
	BPrivate::Desktop::Default()->StartDrag(
		new BMessage(*message), image, offset);
}

void
BView::SetViewColor(rgb_color color)
{
	fViewColor = color;
}

void
BView::SetViewColor(uint8 r, uint8 g, uint8 b, uint8 a)
{
	SetViewColor(rgb_color { r, g, b, a });
}

rgb_color
BView::ViewColor() const
{
	return fViewColor;
}

void
BView::SetHighColor(rgb_color color)
{
	fHighColor = color;
}

void
BView::SetHighColor(uint8 r, uint8 g, uint8 b, uint8 a)
{
	SetHighColor(rgb_color { r, g, b, a });
}

rgb_color
BView::HighColor() const
{
	return fHighColor;
}

void
BView::SetLowColor(rgb_color color)
{
	fLowColor = color;
}

void
BView::SetLowColor(uint8 r, uint8 g, uint8 b, uint8 a)
{
	SetLowColor(rgb_color { r, g, b, a });
}

rgb_color
BView::LowColor() const
{
	return fLowColor;
}

void
BView::SetDrawingMode(drawing_mode mode)
{
	fDrawingMode = mode;
}

drawing_mode
BView::DrawingMode() const
{
	return fDrawingMode;
}

void
BView::SetBlendingMode(source_alpha sourceAlpha, alpha_function alphaFunction)
{
	fSourceAlpha = sourceAlpha;
	fAlphaFunction = alphaFunction;
}

void
BView::GetBlendingMode(
	source_alpha* sourceAlpha, alpha_function* alphaFunction) const
{
	if (sourceAlpha != nullptr)
		*sourceAlpha = fSourceAlpha;
	if (alphaFunction != nullptr)
		*alphaFunction = fAlphaFunction;
}

void
BView::SetFont(const BFont* font)
{
	if (font != nullptr)
		fFont = *font;
}

void
BView::GetFont(BFont* font) const
{
	if (font != nullptr)
		*font = fFont;
}

void
BView::SetFontSize(float size)
{
	fFont.SetSize(size);
}

float
BView::StringWidth(const char* string) const
{
	return fFont.StringWidth(string);
}

void
BView::GetFontHeight(font_height* height) const
{
	fFont.GetHeight(height);
}

void
BView::MovePenTo(BPoint point)
{
	fPenLocation = point;
}

BPoint
BView::PenLocation() const
{
	return fPenLocation;
}

bool
BView::_Target(_ViewTarget* target) const
{
	const BBitmap* bitmap = fOwnerBitmap;
	if (bitmap == nullptr && fWindow != nullptr)
		bitmap = fWindow->Surface();
	if (bitmap == nullptr || bitmap->Bits() == nullptr)
		return false;
	target->buffer.bits = static_cast<uint8*>(bitmap->Bits());
	target->buffer.width = bitmap->Bounds().IntegerWidth() + 1;
	target->buffer.height = bitmap->Bounds().IntegerHeight() + 1;
	target->buffer.bytesPerRow = bitmap->BytesPerRow();
	target->origin = ConvertToWindow(BPoint(0, 0));
	// Clipped to the view and each of its parents.
	BRect clip = ConvertToWindow(Bounds());
	for (const BView* parent = fParent; parent != nullptr;
		 parent = parent->fParent)
		clip = clip & parent->ConvertToWindow(parent->Bounds());
	if (fHasUpdateClip)
		clip = clip & fUpdateClip;
	target->clip = clip;
	return clip.IsValid();
}

rgb_color
BView::_PatternColor(const pattern& p) const
{
	for (uint8 byte : p.data) {
		if (byte != 0)
			return fHighColor;
	}
	return fLowColor;
}

static BlendState
StateOf(drawing_mode mode, source_alpha sourceAlpha, alpha_function function,
	rgb_color high)
{
	BlendState state;
	state.mode = mode;
	state.sourceAlpha = sourceAlpha;
	state.alphaFunction = function;
	// With a constant alpha the high colour's alpha stands for every pixel.
	state.constantAlpha = high.alpha;
	return state;
}

// Runs one drawing call on a painter set up for the view's target, with the
// view's origin in the target and its blending state; nothing happens when
// the view has nowhere to draw.
template <typename Call>
void
BView::_Paint(Call call) const
{
	_ViewTarget target;
	if (!_Target(&target))
		return;
	Painter painter(target.buffer, target.clip);
	call(painter, target.origin,
		StateOf(fDrawingMode, fSourceAlpha, fAlphaFunction, fHighColor));
}

void
BView::FillRect(BRect rect, pattern p)
{
	rgb_color color = _PatternColor(p);
	_Paint([&](Painter& painter, BPoint origin, const BlendState& state) {
		painter.FillRect(rect.OffsetByCopy(origin), color, state);
	});
}

void
BView::StrokeRect(BRect rect, pattern p)
{
	rgb_color color = _PatternColor(p);
	_Paint([&](Painter& painter, BPoint origin, const BlendState& state) {
		painter.StrokeRect(rect.OffsetByCopy(origin), color, state);
	});
}

void
BView::StrokeLine(BPoint from, BPoint to, pattern p)
{
	fPenLocation = to;
	rgb_color color = _PatternColor(p);
	_Paint([&](Painter& painter, BPoint origin, const BlendState& state) {
		painter.StrokeLine(from + origin, to + origin, color, state);
	});
}

void
BView::StrokeLine(BPoint to, pattern p)
{
	StrokeLine(fPenLocation, to, p);
}

void
BView::FillEllipse(BRect rect, pattern p)
{
	rgb_color color = _PatternColor(p);
	_Paint([&](Painter& painter, BPoint origin, const BlendState& state) {
		painter.FillEllipse(rect.OffsetByCopy(origin), color, state);
	});
}

void
BView::DrawBitmap(const BBitmap* bitmap, BRect sourceRect, BRect destRect)
{
	if (bitmap == nullptr)
		return;
	_Paint([&](Painter& painter, BPoint origin, const BlendState& state) {
		painter.DrawBitmap(
			bitmap, sourceRect, destRect.OffsetByCopy(origin), state);
	});
}

void
BView::DrawBitmap(const BBitmap* bitmap, BRect destRect)
{
	if (bitmap != nullptr)
		DrawBitmap(bitmap, bitmap->Bounds(), destRect);
}

void
BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
	if (bitmap != nullptr)
		DrawBitmap(bitmap, bitmap->Bounds(),
			bitmap->Bounds().OffsetToCopy(where.x, where.y));
}

void
BView::DrawBitmap(const BBitmap* bitmap)
{
	DrawBitmap(bitmap, fPenLocation);
}

void
BView::DrawString(const char* string, BPoint where)
{
	if (string == nullptr)
		return;
	fPenLocation = where + BPoint(StringWidth(string), 0);
	_Paint([&](Painter& painter, BPoint origin, const BlendState& state) {
		painter.DrawString(string, where + origin, fFont, fHighColor, state);
	});
}

void
BView::DrawString(const char* string)
{
	DrawString(string, fPenLocation);
}

void
BView::Flush() const
{
	if (fWindow != nullptr)
		fWindow->Flush();
}

void
BView::Sync() const
{
	if (fWindow != nullptr)
		fWindow->Sync();
}

void
BView::_SetUpdateClip(BRect windowClip)
{
	fHasUpdateClip = true;
	fUpdateClip = windowClip;
}

void
BView::_ClearUpdateClip()
{
	fHasUpdateClip = false;
}

void
BView::_AttachToBitmap(BBitmap* bitmap)
{
	fOwnerBitmap = bitmap;
	for (BView* child : fChildren)
		child->_AttachToBitmap(bitmap);
}

void
BView::_DetachFromBitmap()
{
	_AttachToBitmap(nullptr);
}
