#ifndef _POINT_H
#define _POINT_H

#include <SupportDefs.h>

class BRect;

class BPoint {
public:
	float x;
	float y;

	constexpr BPoint() :
		x(0),
		y(0)
	{ }
	constexpr BPoint(float X, float Y) :
		x(X),
		y(Y)
	{ }

	void
	Set(float X, float Y)
	{
		x = X;
		y = Y;
	}

	BPoint
	operator+(const BPoint& p) const
	{
		return BPoint(x + p.x, y + p.y);
	}
	BPoint
	operator-(const BPoint& p) const
	{
		return BPoint(x - p.x, y - p.y);
	}
	BPoint&
	operator+=(const BPoint& p)
	{
		x += p.x;
		y += p.y;
		return *this;
	}
	BPoint&
	operator-=(const BPoint& p)
	{
		x -= p.x;
		y -= p.y;
		return *this;
	}
	bool
	operator==(const BPoint& p) const
	{
		return x == p.x && y == p.y;
	}
	bool
	operator!=(const BPoint& p) const
	{
		return !(*this == p);
	}
};

const BPoint B_ORIGIN(0, 0);

#endif
