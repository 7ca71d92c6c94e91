#ifndef _VIEW_H
#define _VIEW_H

#include <Font.h>
#include <GraphicsDefs.h>
#include <Handler.h>
#include <InterfaceDefs.h>
#include <Rect.h>

#include <vector>

class BBitmap;
class BMessage;
class BWindow;

// A rectangle of a window (or of a bitmap) that draws itself and takes
// mouse and key input. Coordinates are the view's own: its bounds start at (0, 0).
class BView : public BHandler {
public:
	BView(BRect frame, const char* name, uint32 resizingMode, uint32 flags);
	virtual ~BView();

	// Hooks.
	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void Draw(BRect updateRect);
	virtual void MouseDown(BPoint where);
	virtual void MouseUp(BPoint where);
	virtual void MouseMoved(
		BPoint where, uint32 transit, const BMessage* dragMessage);
	// A key went down while the view had the focus; bytes is the character
	// it types (B_FUNCTION_KEY for a function key). Tab moves the focus on.
	virtual void KeyDown(const char* bytes, int32 numBytes);
	void		 MessageReceived(BMessage* message) override;

	// The focus view of its window takes the keys that the window gets.
	virtual void MakeFocus(bool focus = true);
	bool		 IsFocus() const;

	BWindow*	 Window() const;
	BView*		 Parent() const;
	void		 AddChild(BView* view, BView* before = nullptr);
	bool		 RemoveChild(BView* view);
	bool		 RemoveSelf();
	int32		 CountChildren() const;
	BView*		 ChildAt(int32 index) const;
	BView*		 FindView(const char* name) const;

	BRect		 Frame() const;
	BRect		 Bounds() const;
	void		 MoveTo(BPoint where);
	void
	MoveTo(float x, float y)
	{
		MoveTo(BPoint(x, y));
	}
	void   ResizeTo(float width, float height);
	uint32 Flags() const;
	uint32 ResizingMode() const;

	BPoint ConvertToParent(BPoint point) const;
	BPoint ConvertFromParent(BPoint point) const;
	BRect  ConvertToParent(BRect rect) const;
	BRect  ConvertFromParent(BRect rect) const;
	BPoint ConvertToScreen(BPoint point) const;
	BPoint ConvertFromScreen(BPoint point) const;
	BRect  ConvertToScreen(BRect rect) const;
	BRect  ConvertFromScreen(BRect rect) const;
	// Window (or bitmap) coordinates.
	BPoint ConvertToWindow(BPoint point) const;
	BPoint ConvertFromWindow(BPoint point) const;
	BRect  ConvertToWindow(BRect rect) const;
	BRect  ConvertFromWindow(BRect rect) const;

	void   Invalidate();
	void   Invalidate(BRect rect);

	// The pointer's position in view coordinates and its buttons.
	void   GetMouse(
		  BPoint* location, uint32* buttons, bool checkMessageQueue = true);

	// Starts a drag of a copy of the message with the image under the
	// pointer (the pointer at offset in it); the drag takes over the image.
	void DragMessage(BMessage* message, BBitmap* image, drawing_mode dragMode,
		BPoint offset, BHandler* replyTo = nullptr);

	// Drawing state.
	void SetViewColor(rgb_color color);
	void SetViewColor(uint8 r, uint8 g, uint8 b, uint8 a = 255);
	rgb_color	 ViewColor() const;
	void		 SetHighColor(rgb_color color);
	void		 SetHighColor(uint8 r, uint8 g, uint8 b, uint8 a = 255);
	rgb_color	 HighColor() const;
	void		 SetLowColor(rgb_color color);
	void		 SetLowColor(uint8 r, uint8 g, uint8 b, uint8 a = 255);
	rgb_color	 LowColor() const;
	void		 SetDrawingMode(drawing_mode mode);
	drawing_mode DrawingMode() const;
	void		 SetBlendingMode(
				source_alpha sourceAlpha, alpha_function alphaFunction);
	void GetBlendingMode(
		source_alpha* sourceAlpha, alpha_function* alphaFunction) const;
	void   SetFont(const BFont* font);
	void   GetFont(BFont* font) const;
	void   SetFontSize(float size);
	float  StringWidth(const char* string) const;
	void   GetFontHeight(font_height* height) const;
	void   MovePenTo(BPoint point);
	BPoint PenLocation() const;

	// Drawing, in view coordinates; rectangles include both edges.
	void   FillRect(BRect rect, pattern p = B_SOLID_HIGH);
	void   StrokeRect(BRect rect, pattern p = B_SOLID_HIGH);
	void   StrokeLine(BPoint from, BPoint to, pattern p = B_SOLID_HIGH);
	void   StrokeLine(BPoint to, pattern p = B_SOLID_HIGH);
	void   FillEllipse(BRect rect, pattern p = B_SOLID_HIGH);
	void   DrawBitmap(const BBitmap* bitmap, BRect sourceRect, BRect destRect);
	void   DrawBitmap(const BBitmap* bitmap, BRect destRect);
	void   DrawBitmap(const BBitmap* bitmap, BPoint where);
	void   DrawBitmap(const BBitmap* bitmap);
	void   DrawString(const char* string, BPoint where);
	void   DrawString(const char* string);

	// Drawing is done when the call returns; these hand it to the screen.
	void   Flush() const;
	void   Sync() const;

	// For the platform.
	void   _SetUpdateClip(BRect windowClip);
	void   _ClearUpdateClip();
	void   _AttachToBitmap(BBitmap* bitmap);
	void   _DetachFromBitmap();
	BBitmap*
	_OwnerBitmap() const
	{
		return fOwnerBitmap;
	}
	void		  _SetWindow(BWindow* window);
	// The first view of the name among the views and their descendants.
	static BView* _FindViewAmong(
		const std::vector<BView*>& views, const char* name);

private:
	rgb_color					  _PatternColor(const pattern& p) const;
	bool						  _Target(struct _ViewTarget* target) const;
	template <typename Call> void _Paint(Call call) const;

	BRect						  fFrame;
	uint32						  fResizingMode;
	uint32						  fFlags;
	BWindow*					  fWindow;
	BView*						  fParent;
	BBitmap*					  fOwnerBitmap;
	std::vector<BView*>			  fChildren;

	rgb_color					  fViewColor;
	rgb_color					  fHighColor;
	rgb_color					  fLowColor;
	drawing_mode				  fDrawingMode;
	source_alpha				  fSourceAlpha;
	alpha_function				  fAlphaFunction;
	BFont						  fFont;
	BPoint						  fPenLocation;

	bool						  fHasUpdateClip;
	BRect						  fUpdateClip; // window coordinates
};

#endif
