#ifndef _STRING_VIEW_H
#define _STRING_VIEW_H

#include <InterfaceDefs.h>
#include <View.h>

#include <string>

// One line of text in the view's font, on the background of the view that
// holds it.
class BStringView : public BView {
public:
	BStringView(BRect frame, const char* name, const char* text,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW);
	virtual ~BStringView();

	const char* Text() const;
	void		SetText(const char* text);
	void		SetAlignment(alignment flag);
	alignment	Alignment() const;

	void		AttachedToWindow() override;
	void		Draw(BRect updateRect) override;

private:
	std::string fText;
	alignment	fAlignment;
};

#endif
