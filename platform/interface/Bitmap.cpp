#include <Bitmap.h>

#include <View.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "RecursiveLock.h"

int32
BBitmap::BytesPerRowFor(color_space space, int32 width)
{
	int32 bytes;
	switch (space) {
		case B_RGB32:
		case B_RGBA32:
		case B_RGB32_BIG:
		case B_RGBA32_BIG:
			bytes = width * 4;
			break;
		case B_CMAP8:
		case B_GRAY8:
			bytes = width;
			break;
		default:
			return 0;
	}
	return (bytes + 3) & ~3;
}

BBitmap::BBitmap(BRect bounds, color_space space, bool acceptsViews,
	bool /*needsContiguous*/) :
	fBits(nullptr),
	fBitsLength(0),
	fAcceptsViews(acceptsViews),
	fLock(new BPrivate::RecursiveLock)
{
	_Allocate(bounds, space);
}

BBitmap::BBitmap(const BBitmap& source) :
	fBits(nullptr),
	fBitsLength(0),
	fAcceptsViews(false),
	fLock(new BPrivate::RecursiveLock)
{
	_Allocate(source.fBounds, source.fSpace);
	if (fBits != nullptr && source.fBits != nullptr)
		memcpy(fBits, source.fBits, fBitsLength);
}

BBitmap::BBitmap(
	const BBitmap* source, bool acceptsViews, bool /*needsContiguous*/) :
	fBits(nullptr),
	fBitsLength(0),
	fAcceptsViews(acceptsViews),
	fLock(new BPrivate::RecursiveLock)
{
	if (source == nullptr) {
		_Allocate(BRect(), B_NO_COLOR_SPACE);
		return;
	}
	_Allocate(source->fBounds, source->fSpace);
	if (fBits != nullptr && source->fBits != nullptr)
		memcpy(fBits, source->fBits, fBitsLength);
}

BBitmap::~BBitmap()
{
	for (BView* child : fChildren) {
		child->_DetachFromBitmap();
		delete child;
	}
	delete[] fBits;
	delete fLock;
}

void
BBitmap::_Allocate(BRect bounds, color_space space)
{
	fBounds = bounds;
	fSpace = space;
	fBytesPerRow = 0;
	if (!bounds.IsValid() || bounds.left != 0 || bounds.top != 0)
		return;
	int64 width = (int64)bounds.IntegerWidth() + 1;
	int64 height = (int64)bounds.IntegerHeight() + 1;
	// Beyond this a bitmap is a mistake, not a picture.
	if (width > 65536 || height > 65536)
		return;
	fBytesPerRow = BytesPerRowFor(space, (int32)width);
	int64 length = (int64)fBytesPerRow * height;
	if (fBytesPerRow == 0 || length > (int64)1 << 30)
		return;
	fBits = new (std::nothrow) uint8[length]();
	if (fBits != nullptr)
		fBitsLength = (int32)length;
}

status_t
BBitmap::InitCheck() const
{
	return fBits != nullptr ? B_OK : B_NO_MEMORY;
}

bool
BBitmap::IsValid() const
{
	return fBits != nullptr;
}

BRect
BBitmap::Bounds() const
{
	return fBounds;
}

void*
BBitmap::Bits() const
{
	return fBits;
}

int32
BBitmap::BitsLength() const
{
	return fBitsLength;
}

int32
BBitmap::BytesPerRow() const
{
	return fBytesPerRow;
}

color_space
BBitmap::ColorSpace() const
{
	return fSpace;
}

void
BBitmap::AddChild(BView* view)
{
	if (!fAcceptsViews || view == nullptr || view->Parent() != nullptr
		|| view->Window() != nullptr)
		return;
	if (std::find(fChildren.begin(), fChildren.end(), view) != fChildren.end())
		return;
	fChildren.push_back(view);
	view->_AttachToBitmap(this);
}

bool
BBitmap::RemoveChild(BView* view)
{
	auto it = std::find(fChildren.begin(), fChildren.end(), view);
	if (it == fChildren.end())
		return false;
	fChildren.erase(it);
	view->_DetachFromBitmap();
	return true;
}

int32
BBitmap::CountChildren() const
{
	return (int32)fChildren.size();
}

BView*
BBitmap::ChildAt(int32 index) const
{
	if (index < 0 || index >= (int32)fChildren.size())
		return nullptr;
	return fChildren[index];
}

BView*
BBitmap::FindView(const char* name) const
{
	return BView::_FindViewAmong(fChildren, name);
}

bool
BBitmap::Lock()
{
	fLock->Lock();
	return true;
}

void
BBitmap::Unlock()
{
	fLock->Unlock();
}

bool
BBitmap::IsLocked() const
{
	return fLock->IsLocked();
}
