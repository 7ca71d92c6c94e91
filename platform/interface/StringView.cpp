#include <StringView.h>

#include <cmath>

BStringView::BStringView(BRect frame, const char* name, const char* text,
	uint32 resizingMode, uint32 flags) :
	BView(frame, name, resizingMode, flags),
	fText(text != nullptr ? text : ""),
	fAlignment(B_ALIGN_LEFT)
{ }

BStringView::~BStringView() = default;

const char*
BStringView::Text() const
{
	return fText.c_str();
}

void
BStringView::SetText(const char* text)
{
	fText = text != nullptr ? text : "";
	Invalidate();
}

void
BStringView::SetAlignment(alignment flag)
{
	fAlignment = flag;
	Invalidate();
}

alignment
BStringView::Alignment() const
{
	return fAlignment;
}

void
BStringView::AttachedToWindow()
{
	if (Parent() != nullptr)
		SetViewColor(Parent()->ViewColor());
}

void
BStringView::Draw(BRect)
{
	BRect bounds = Bounds();
	float x = 0;
	if (fAlignment == B_ALIGN_RIGHT)
		x = bounds.right + 1 - StringWidth(Text());
	else if (fAlignment == B_ALIGN_CENTER)
		x = floorf((bounds.Width() + 1 - StringWidth(Text())) / 2);
	// The line, from its ascent to its descent, is centred on the frame: a
	// frame lower than the font cuts both ends alike, and the ascent has room
	// above the capitals to spare.
	font_height height;
	GetFontHeight(&height);
	float baseline = floorf((bounds.top + bounds.bottom + ceilf(height.ascent)
								- ceilf(height.descent))
		/ 2);
	SetHighColor(0, 0, 0);
	DrawString(Text(), BPoint(x, baseline));
}
