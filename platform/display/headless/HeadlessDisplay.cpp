#include "HeadlessDisplay.h"

#include <Window.h>

#include <chrono>
#include <cstring>

#include "Desktop.h"

namespace BPrivate {

HeadlessDisplay::HeadlessDisplay() = default;

HeadlessDisplay::~HeadlessDisplay() = default;

void
HeadlessDisplay::Install()
{
	SetDisplay(this);
}

void
HeadlessDisplay::MovePointer(BPoint screen)
{
	std::lock_guard<std::mutex> guard(fLock);
	fPointer = screen;
	fInput.push_back(Input { Input::POINTER, screen, fButtons, -1 });
	fQueued++;
	fChanged.notify_all();
}

void
HeadlessDisplay::Press(uint32 buttons)
{
	std::lock_guard<std::mutex> guard(fLock);
	fButtons = buttons;
	fInput.push_back(Input { Input::POINTER, fPointer, fButtons, -1 });
	fQueued++;
	fChanged.notify_all();
}

void
HeadlessDisplay::Release()
{
	std::lock_guard<std::mutex> guard(fLock);
	fButtons = 0;
	fInput.push_back(Input { Input::POINTER, fPointer, 0, -1 });
	fQueued++;
	fChanged.notify_all();
}

void
HeadlessDisplay::RequestClose(BWindow* window)
{
	int32						id = Desktop::Default()->IdOf(window);
	std::lock_guard<std::mutex> guard(fLock);
	fInput.push_back(Input { Input::CLOSE, BPoint(), 0, id });
	fQueued++;
	fChanged.notify_all();
}

void
HeadlessDisplay::TypeKey(
	char byte, int32 key, uint32 modifiers, BWindow* window)
{
	int32 id = window != nullptr ? Desktop::Default()->IdOf(window) : -1;
	std::lock_guard<std::mutex> guard(fLock);
	fInput.push_back(
		Input { Input::KEY, BPoint(), 0, id, byte, key, modifiers });
	fQueued++;
	fChanged.notify_all();
}

BPoint
HeadlessDisplay::WindowToScreen(BWindow* window, BPoint point)
{
	return point + window->Frame().LeftTop();
}

bool
HeadlessDisplay::WaitForInput()
{
	std::unique_lock<std::mutex> guard(fLock);
	int64						 target = fQueued;
	return fChanged.wait_for(
		guard, std::chrono::seconds(10), [&] { return fHandled >= target; });
}

HeadlessDisplay::Screen*
HeadlessDisplay::_ScreenOf(int32 id)
{
	auto it = fScreens.find(id);
	return it != fScreens.end() ? &it->second : nullptr;
}

bool
HeadlessDisplay::IsVisible(BWindow* window)
{
	int32						id = Desktop::Default()->IdOf(window);
	std::lock_guard<std::mutex> guard(fLock);
	Screen*						screen = _ScreenOf(id);
	return screen != nullptr && screen->visible;
}

std::unique_ptr<BBitmap>
HeadlessDisplay::Snapshot(BWindow* window)
{
	int32						id = Desktop::Default()->IdOf(window);
	std::lock_guard<std::mutex> guard(fLock);
	Screen*						screen = _ScreenOf(id);
	if (screen == nullptr || screen->pixels == nullptr)
		return nullptr;
	return std::make_unique<BBitmap>(*screen->pixels);
}

uint32
HeadlessDisplay::PixelAt(BWindow* window, int32 x, int32 y)
{
	int32						id = Desktop::Default()->IdOf(window);
	std::lock_guard<std::mutex> guard(fLock);
	Screen*						screen = _ScreenOf(id);
	if (screen == nullptr || screen->pixels == nullptr)
		return 0;
	BRect bounds = screen->pixels->Bounds();
	if (x < 0 || y < 0 || x > bounds.IntegerWidth()
		|| y > bounds.IntegerHeight())
		return 0;
	uint32 pixel;
	memcpy(&pixel,
		static_cast<uint8*>(screen->pixels->Bits())
			+ y * screen->pixels->BytesPerRow() + x * 4,
		4);
	return pixel;
}

int32
HeadlessDisplay::CountPresents(BWindow* window)
{
	int32						id = Desktop::Default()->IdOf(window);
	std::lock_guard<std::mutex> guard(fLock);
	Screen*						screen = _ScreenOf(id);
	return screen != nullptr ? screen->presents : 0;
}

int32
HeadlessDisplay::CountRaises(BWindow* window)
{
	int32						id = Desktop::Default()->IdOf(window);
	std::lock_guard<std::mutex> guard(fLock);
	Screen*						screen = _ScreenOf(id);
	return screen != nullptr ? screen->raises : 0;
}

bool
HeadlessDisplay::DragImageShown()
{
	std::lock_guard<std::mutex> guard(fLock);
	return fDragShown;
}

std::string
HeadlessDisplay::Title(BWindow* window)
{
	int32						id = Desktop::Default()->IdOf(window);
	std::lock_guard<std::mutex> guard(fLock);
	Screen*						screen = _ScreenOf(id);
	return screen != nullptr ? screen->title : std::string();
}

status_t
HeadlessDisplay::Open()
{
	return B_OK;
}

void
HeadlessDisplay::Close()
{ }

void
HeadlessDisplay::Pump(InputSink* sink, bigtime_t timeout)
{
	std::unique_lock<std::mutex> guard(fLock);
	auto work = [&] { return !fInput.empty() || fWoken; };
	if (timeout > 0 && !work()) {
		fWaitingFor = timeout;
		fChanged.notify_all();
		if (timeout >= B_INFINITE_TIMEOUT)
			fChanged.wait(guard, work);
		else
			fChanged.wait_for(guard, std::chrono::microseconds(timeout), work);
		fWaitingFor = 0;
	}
	fWoken = false;
	while (!fInput.empty()) {
		Input input = fInput.front();
		fInput.pop_front();
		guard.unlock();
		if (input.kind == Input::POINTER) {
			sink->HandlePointer(input.where, input.buttons);
		} else if (input.kind == Input::KEY) {
			char bytes[2] = { input.byte, '\0' };
			sink->HandleKey(input.window, bytes, input.key, input.modifiers);
		} else {
			sink->HandleCloseRequest(input.window);
		}
		guard.lock();
		fHandled++;
		fChanged.notify_all();
	}
}

bigtime_t
HeadlessDisplay::WaitForIdleLoop()
{
	std::unique_lock<std::mutex> guard(fLock);
	fChanged.wait_for(
		guard, std::chrono::seconds(10), [&] { return fWaitingFor != 0; });
	return fWaitingFor;
}

int64
HeadlessDisplay::CountWakes()
{
	std::lock_guard<std::mutex> guard(fLock);
	return fWakes;
}

void
HeadlessDisplay::Wake()
{
	std::lock_guard<std::mutex> guard(fLock);
	fWoken = true;
	fWakes++;
	fChanged.notify_all();
}

void
HeadlessDisplay::AddWindow(int32 id, const WindowSpec& spec)
{
	std::lock_guard<std::mutex> guard(fLock);
	Screen&						screen = fScreens[id];
	screen.title = spec.title != nullptr ? spec.title : "";
	screen.frame = spec.frame;
}

void
HeadlessDisplay::RemoveWindow(int32 id)
{
	std::lock_guard<std::mutex> guard(fLock);
	fScreens.erase(id);
}

void
HeadlessDisplay::SetVisible(int32 id, bool visible)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it != fScreens.end())
		it->second.visible = visible;
}

void
HeadlessDisplay::Raise(int32 id)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it != fScreens.end())
		it->second.raises++;
}

void
HeadlessDisplay::MoveWindow(int32 id, BPoint screenLeftTop)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it != fScreens.end())
		it->second.frame.OffsetTo(screenLeftTop);
}

void
HeadlessDisplay::Present(int32 id, const BBitmap* surface, BRect dirty)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it == fScreens.end() || surface == nullptr)
		return;
	Screen& screen = it->second;
	if (screen.pixels == nullptr
		|| screen.pixels->Bounds() != surface->Bounds())
		screen.pixels = std::make_unique<BBitmap>(surface->Bounds(), B_RGB32);
	dirty = dirty & surface->Bounds();
	if (dirty.IsValid()) {
		int32 left = (int32)dirty.left;
		int32 width = (int32)dirty.right - left + 1;
		for (int32 y = (int32)dirty.top; y <= (int32)dirty.bottom; y++) {
			int32 offset = y * surface->BytesPerRow() + left * 4;
			memcpy(static_cast<uint8*>(screen.pixels->Bits()) + offset,
				static_cast<const uint8*>(surface->Bits()) + offset, width * 4);
		}
	}
	screen.presents++;
}

void
HeadlessDisplay::SetDragImage(const BBitmap* image, BPoint)
{
	std::lock_guard<std::mutex> guard(fLock);
	fDragShown = image != nullptr;
}

} // namespace BPrivate
