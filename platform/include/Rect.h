#ifndef _RECT_H
#define _RECT_H

#include <Point.h>

#include <algorithm>
#include <cmath>

// A rectangle whose edges are all inside it: (8, 1, 24, 17) covers 17 by 17
// pixels, and Width() is one less than the number of columns it covers.
class BRect {
public:
	float left;
	float top;
	float right;
	float bottom;

	constexpr BRect() :
		left(0),
		top(0),
		right(-1),
		bottom(-1)
	{ }
	constexpr BRect(float l, float t, float r, float b) :
		left(l),
		top(t),
		right(r),
		bottom(b)
	{ }
	constexpr BRect(BPoint leftTop, BPoint rightBottom) :
		left(leftTop.x),
		top(leftTop.y),
		right(rightBottom.x),
		bottom(rightBottom.y)
	{ }

	void
	Set(float l, float t, float r, float b)
	{
		left = l;
		top = t;
		right = r;
		bottom = b;
	}

	BPoint
	LeftTop() const
	{
		return BPoint(left, top);
	}
	BPoint
	RightBottom() const
	{
		return BPoint(right, bottom);
	}
	BPoint
	LeftBottom() const
	{
		return BPoint(left, bottom);
	}
	BPoint
	RightTop() const
	{
		return BPoint(right, top);
	}

	float
	Width() const
	{
		return right - left;
	}
	float
	Height() const
	{
		return bottom - top;
	}
	int32
	IntegerWidth() const
	{
		return (int32)std::ceil(right - left);
	}
	int32
	IntegerHeight() const
	{
		return (int32)std::ceil(bottom - top);
	}

	bool
	IsValid() const
	{
		return left <= right && top <= bottom;
	}

	bool
	Contains(BPoint p) const
	{
		return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
	}
	bool
	Contains(const BRect& r) const
	{
		return r.left >= left && r.right <= right && r.top >= top
			&& r.bottom <= bottom;
	}
	bool
	Intersects(const BRect& r) const
	{
		return IsValid() && r.IsValid()
			&& std::max(left, r.left) <= std::min(right, r.right)
			&& std::max(top, r.top) <= std::min(bottom, r.bottom);
	}

	BRect&
	OffsetBy(float dx, float dy)
	{
		left += dx;
		right += dx;
		top += dy;
		bottom += dy;
		return *this;
	}
	BRect&
	OffsetBy(BPoint d)
	{
		return OffsetBy(d.x, d.y);
	}
	BRect&
	OffsetTo(float x, float y)
	{
		return OffsetBy(x - left, y - top);
	}
	BRect&
	OffsetTo(BPoint p)
	{
		return OffsetTo(p.x, p.y);
	}
	BRect
	OffsetByCopy(float dx, float dy) const
	{
		BRect r = *this;
		return r.OffsetBy(dx, dy);
	}
	BRect
	OffsetByCopy(BPoint d) const
	{
		return OffsetByCopy(d.x, d.y);
	}
	BRect
	OffsetToCopy(float x, float y) const
	{
		BRect r = *this;
		return r.OffsetTo(x, y);
	}
	BRect&
	InsetBy(float dx, float dy)
	{
		left += dx;
		right -= dx;
		top += dy;
		bottom -= dy;
		return *this;
	}
	BRect
	InsetByCopy(float dx, float dy) const
	{
		BRect r = *this;
		return r.InsetBy(dx, dy);
	}

	// Intersection; the result is invalid when the two do not meet.
	BRect
	operator&(const BRect& r) const
	{
		return BRect(std::max(left, r.left), std::max(top, r.top),
			std::min(right, r.right), std::min(bottom, r.bottom));
	}
	// Smallest rectangle holding both; an invalid operand is ignored.
	BRect
	operator|(const BRect& r) const
	{
		if (!IsValid())
			return r;
		if (!r.IsValid())
			return *this;
		return BRect(std::min(left, r.left), std::min(top, r.top),
			std::max(right, r.right), std::max(bottom, r.bottom));
	}

	bool
	operator==(const BRect& r) const
	{
		return left == r.left && top == r.top && right == r.right
			&& bottom == r.bottom;
	}
	bool
	operator!=(const BRect& r) const
	{
		return !(*this == r);
	}
};

#endif
