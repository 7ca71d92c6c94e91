#include "Desktop.h"

#include <AppDefs.h>
#include <Bitmap.h>
#include <InterfaceDefs.h>
#include <Window.h>

#include "display/DisplayBackend.h"

namespace BPrivate {

Desktop*
Desktop::Default()
{
	static Desktop* desktop = new Desktop;
	return desktop;
}

Desktop::Entry*
Desktop::_Find(const BWindow* window)
{
	for (Entry& entry : fWindows) {
		if (entry.window == window)
			return &entry;
	}
	return nullptr;
}

Desktop::Entry*
Desktop::_Find(int32 id)
{
	for (Entry& entry : fWindows) {
		if (entry.id == id)
			return &entry;
	}
	return nullptr;
}

int32
Desktop::AddWindow(BWindow* window, BRect frame, bool modal)
{
	std::lock_guard<std::mutex> guard(fLock);
	int32						id = fNextId++;
	fWindows.push_back(Entry { window, id, frame, false, modal, 0 });
	return id;
}

void
Desktop::RemoveWindow(BWindow* window)
{
	std::unique_lock<std::mutex> guard(fLock);
	fUnpinned.wait(guard, [&] {
		Entry* entry = _Find(window);
		return entry == nullptr || entry->pins == 0;
	});
	for (auto it = fWindows.begin(); it != fWindows.end(); ++it) {
		if (it->window == window) {
			fWindows.erase(it);
			break;
		}
	}
	if (fCapture == window)
		fCapture = nullptr;
}

bool
Desktop::PinWindow(BWindow* window)
{
	std::lock_guard<std::mutex> guard(fLock);
	Entry*						entry = _Find(window);
	if (entry == nullptr)
		return false;
	entry->pins++;
	return true;
}

void
Desktop::UnpinWindow(BWindow* window)
{
	std::lock_guard<std::mutex> guard(fLock);
	if (Entry* entry = _Find(window))
		entry->pins--;
	fUnpinned.notify_all();
}

void
Desktop::_Raise(size_t index)
{
	Entry entry = fWindows[index];
	fWindows.erase(fWindows.begin() + index);
	// A shown modal window stays in front of the others.
	size_t position = 0;
	if (!entry.modal) {
		while (position < fWindows.size() && fWindows[position].modal
			&& fWindows[position].visible)
			position++;
	}
	fWindows.insert(fWindows.begin() + position, entry);
}

void
Desktop::SetVisible(BWindow* window, bool visible)
{
	std::lock_guard<std::mutex> guard(fLock);
	for (size_t i = 0; i < fWindows.size(); i++) {
		if (fWindows[i].window == window) {
			fWindows[i].visible = visible;
			if (visible)
				_Raise(i);
			break;
		}
	}
}

bool
Desktop::Activate(BWindow* window)
{
	std::lock_guard<std::mutex> guard(fLock);
	for (size_t i = 0; i < fWindows.size(); i++) {
		if (fWindows[i].window == window) {
			_Raise(i);
			break;
		}
	}
	// A shown modal window may have kept it behind.
	for (const Entry& entry : fWindows) {
		if (entry.window == window)
			return true;
		if (entry.visible)
			return false;
	}
	return false;
}

void
Desktop::SetFrame(BWindow* window, BRect frame)
{
	std::lock_guard<std::mutex> guard(fLock);
	if (Entry* entry = _Find(window))
		entry->frame = frame;
}

int32
Desktop::IdOf(const BWindow* window)
{
	std::lock_guard<std::mutex> guard(fLock);
	Entry*						entry = _Find(window);
	return entry != nullptr ? entry->id : -1;
}

BWindow*
Desktop::WindowFor(int32 id)
{
	std::lock_guard<std::mutex> guard(fLock);
	Entry*						entry = _Find(id);
	return entry != nullptr ? entry->window : nullptr;
}

std::vector<BWindow*>
Desktop::VisibleWindows()
{
	std::lock_guard<std::mutex> guard(fLock);
	std::vector<BWindow*>		windows;
	for (const Entry& entry : fWindows) {
		if (entry.visible)
			windows.push_back(entry.window);
	}
	return windows;
}

std::vector<BWindow*>
Desktop::AllWindows()
{
	std::lock_guard<std::mutex> guard(fLock);
	std::vector<BWindow*>		windows;
	for (const Entry& entry : fWindows)
		windows.push_back(entry.window);
	return windows;
}

BWindow*
Desktop::PinFrontWindow()
{
	std::lock_guard<std::mutex> guard(fLock);
	for (Entry& entry : fWindows) {
		if (entry.visible) {
			entry.pins++;
			return entry.window;
		}
	}
	return nullptr;
}

BWindow*
Desktop::FrontWindow()
{
	std::lock_guard<std::mutex> guard(fLock);
	for (const Entry& entry : fWindows) {
		if (entry.visible)
			return entry.window;
	}
	return nullptr;
}

BWindow*
Desktop::_WindowAt(BPoint screen)
{
	for (const Entry& entry : fWindows) {
		if (!entry.visible)
			continue;
		if (entry.frame.Contains(screen))
			return entry.window;
		// While a modal window is shown, the windows behind it take no input.
		if (entry.modal)
			return nullptr;
	}
	return nullptr;
}

BWindow*
Desktop::WindowAt(BPoint screen)
{
	std::lock_guard<std::mutex> guard(fLock);
	return _WindowAt(screen);
}

void
Desktop::GetPointer(BPoint* screen, uint32* buttons)
{
	std::lock_guard<std::mutex> guard(fLock);
	if (screen != nullptr)
		*screen = fPointer;
	if (buttons != nullptr)
		*buttons = fButtons;
}

void
Desktop::StartDrag(BMessage* message, BBitmap* image, BPoint offset)
{
	// The display gets the image under the lock: a release handled at the
	// same moment would otherwise end the drag and free the image before
	// the display had copied it, and then leave it shown with no drag.
	std::lock_guard<std::mutex> guard(fLock);
	delete fDragMessage;
	delete fDragImage;
	fDragMessage = message;
	fDragImage = image;
	fDragOffset = offset;
	Display()->SetDragImage(image, offset);
	// The button may already be up again by the time the drag starts.
	if (fButtons == 0)
		_EndDrag(fPointer);
}

bool
Desktop::IsDragging()
{
	std::lock_guard<std::mutex> guard(fLock);
	return fDragMessage != nullptr;
}

void
Desktop::_PostMouse(BWindow* window, uint32 what, BPoint screen, uint32 buttons)
{
	Entry* entry = _Find(window);
	if (entry == nullptr)
		return;
	BMessage message(what);
	message.AddPoint("where", screen - entry->frame.LeftTop());
	message.AddPoint("screen_where", screen);
	message.AddInt32("buttons", (int32)buttons);
	window->PostMessage(&message);
}

void
Desktop::_EndDrag(BPoint screen)
{
	if (fDragMessage == nullptr)
		return;
	BWindow* target = _WindowAt(screen);
	if (target != nullptr) {
		fDragMessage->_SetDropInfo(screen, fDragOffset);
		target->PostMessage(fDragMessage);
	}
	delete fDragMessage;
	delete fDragImage;
	fDragMessage = nullptr;
	fDragImage = nullptr;
	Display()->SetDragImage(nullptr, BPoint());
}

void
Desktop::HandlePointer(BPoint screen, uint32 buttons)
{
	std::lock_guard<std::mutex> guard(fLock);
	uint32						previous = fButtons;
	fPointer = screen;
	fButtons = buttons;

	if (previous == 0 && buttons != 0) {
		fCapture = _WindowAt(screen);
		if (fCapture != nullptr)
			_PostMouse(fCapture, B_MOUSE_DOWN, screen, buttons);
	} else if (previous != 0 && buttons == 0) {
		if (fCapture != nullptr)
			_PostMouse(fCapture, B_MOUSE_UP, screen, buttons);
		fCapture = nullptr;
		_EndDrag(screen);
	} else {
		BWindow* target = fCapture != nullptr ? fCapture : _WindowAt(screen);
		if (target != nullptr)
			_PostMouse(target, B_MOUSE_MOVED, screen, buttons);
	}
}

void
Desktop::HandleCloseRequest(int32 id)
{
	std::lock_guard<std::mutex> guard(fLock);
	Entry*						entry = _Find(id);
	if (entry == nullptr || (entry->window->Flags() & B_NOT_CLOSABLE) != 0)
		return;
	// A window behind a shown modal window cannot be closed either.
	for (const Entry& other : fWindows) {
		if (&other == entry)
			break;
		if (other.visible && other.modal)
			return;
	}
	entry->window->PostMessage(B_QUIT_REQUESTED);
}

void
Desktop::HandleWindowMoved(int32 id, BPoint leftTop)
{
	BWindow* window;
	{
		std::lock_guard<std::mutex> guard(fLock);
		Entry*						entry = _Find(id);
		if (entry == nullptr)
			return;
		entry->frame.OffsetTo(leftTop);
		window = entry->window;
		// The window may be quitting on its own thread: pinned, it stays
		// until this is done with it.
		entry->pins++;
	}
	window->_FrameMoved(leftTop);
	UnpinWindow(window);
}

void
Desktop::HandleExposed(int32 id)
{
	std::lock_guard<std::mutex> guard(fLock);
	if (Entry* entry = _Find(id))
		entry->window->_Expose();
}

void
Desktop::HandleKey(int32 id, const char* bytes, int32 key, uint32 modifiers)
{
	std::lock_guard<std::mutex> guard(fLock);
	BWindow*					target = nullptr;
	for (const Entry& entry : fWindows) {
		if (!entry.visible)
			continue;
		if (id < 0 || entry.id == id) {
			target = entry.window;
			break;
		}
		// While a modal window is shown, the windows behind it take no
		// keys either.
		if (entry.modal)
			return;
	}
	if (target == nullptr)
		return;
	BMessage message(B_KEY_DOWN);
	message.AddInt32("modifiers", (int32)modifiers);
	message.AddInt32("key", key);
	message.AddString("bytes", bytes);
	message.AddInt32("raw_char", (int32)(uint8)bytes[0]);
	target->PostMessage(&message);
}

void
Desktop::Reset()
{
	std::lock_guard<std::mutex> guard(fLock);
	fPointer = BPoint();
	fButtons = 0;
	fCapture = nullptr;
	delete fDragMessage;
	delete fDragImage;
	fDragMessage = nullptr;
	fDragImage = nullptr;
}

} // namespace BPrivate
