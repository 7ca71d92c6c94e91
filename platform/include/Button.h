#ifndef _BUTTON_H
#define _BUTTON_H

#include <Invoker.h>
#include <View.h>

#include <string>

// A push button: a click (press and release inside it) sends its message to
// its target, by default the window that holds it; so do Space and Enter
// while it has the focus, which it shows with an outline inside its face. A frame without height
// gets the height that the label's font needs.
class BButton : public BView, public BInvoker {
public:
	// Takes over the message.
	BButton(BRect frame, const char* name, const char* label, BMessage* message,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	virtual ~BButton();

	const char*	 Label() const;
	virtual void SetLabel(const char* label);
	// Drawn pushed in while the button is held with the pointer over it.
	bool		 IsPressed() const;

	virtual void GetPreferredSize(float* width, float* height);

	void		 AttachedToWindow() override;
	void		 Draw(BRect updateRect) override;
	void		 MouseDown(BPoint where) override;
	void		 MouseMoved(
				BPoint where, uint32 transit, const BMessage* dragMessage) override;
	void MouseUp(BPoint where) override;
	// Space or Enter on the focused button invokes it as a click does.
	void KeyDown(const char* bytes, int32 numBytes) override;

private:
	void		_SetPressed(bool pressed);

	std::string fLabel;
	bool		fTracking;
	bool		fPressed;
};

#endif
