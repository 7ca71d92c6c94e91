#ifndef _BITMAP_H
#define _BITMAP_H

#include <GraphicsDefs.h>
#include <Rect.h>

#include <vector>

class BView;

namespace BPrivate {
class RecursiveLock;
}

// Pixels in memory. For B_RGB32 and B_RGBA32 each pixel is four bytes in the
// order blue, green, red, alpha, and rows follow each other with no gap:
// BytesPerRow() is exactly 4 times the width. A bitmap made to accept views
// can have views added to it, which then draw into its pixels.
class BBitmap {
public:
	BBitmap(BRect bounds, color_space space, bool acceptsViews = false,
		bool needsContiguous = false);
	BBitmap(const BBitmap& source);
	BBitmap(const BBitmap* source, bool acceptsViews = false,
		bool needsContiguous = false);
	virtual ~BBitmap();

	BBitmap&	operator=(const BBitmap&) = delete;

	status_t	InitCheck() const;
	bool		IsValid() const;

	BRect		Bounds() const;
	void*		Bits() const;
	int32		BitsLength() const;
	int32		BytesPerRow() const;
	color_space ColorSpace() const;

	// Views attached to the bitmap draw into its pixels while it is locked.
	void		AddChild(BView* view);
	bool		RemoveChild(BView* view);
	int32		CountChildren() const;
	BView*		ChildAt(int32 index) const;
	BView*		FindView(const char* name) const;

	bool		Lock();
	void		Unlock();
	bool		IsLocked() const;

	bool
	AcceptsViews() const
	{
		return fAcceptsViews;
	}

	// Bytes per row for a given width and colour space, rounded up to 4.
	static int32 BytesPerRowFor(color_space space, int32 width);

private:
	void					 _Allocate(BRect bounds, color_space space);

	BRect					 fBounds;
	color_space				 fSpace;
	int32					 fBytesPerRow;
	uint8*					 fBits;
	int32					 fBitsLength;
	bool					 fAcceptsViews;
	std::vector<BView*>		 fChildren;
	BPrivate::RecursiveLock* fLock;
};

#endif
