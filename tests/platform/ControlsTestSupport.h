#ifndef KX_CONTROLS_TEST_SUPPORT_H
#define KX_CONTROLS_TEST_SUPPORT_H

// Windows and views that record what reaches them, for the tests of the
// controls and of the window feels on the headless display.

#include <Application.h>
#include <Message.h>
#include <View.h>
#include <Window.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "HeadlessApp.h"

namespace kxtest {

// Keeps the code of every message that reaches its MessageReceived, and
// counts the times it is asked to quit.
class RecordingWindow : public BWindow {
public:
    RecordingWindow(BRect frame, const char* title, window_look look = B_TITLED_WINDOW_LOOK,
        window_feel feel = B_NORMAL_WINDOW_FEEL, uint32 flags = B_NOT_RESIZABLE)
        : BWindow(frame, title, look, feel, flags)
    {
    }

    void MessageReceived(BMessage* message) override
    {
        {
            std::lock_guard<std::mutex> guard(fLock);
            fCodes.push_back(message->what);
        }
        BWindow::MessageReceived(message);
    }

    bool QuitRequested() override
    {
        quitRequests++;
        return true;
    }

    std::vector<uint32> Codes()
    {
        std::lock_guard<std::mutex> guard(fLock);
        return fCodes;
    }

    std::atomic<int> quitRequests{0};

private:
    std::mutex fLock;
    std::vector<uint32> fCodes;
};

// Fills itself with one colour and counts the presses that reach it.
class SolidView : public BView {
public:
    SolidView(BRect frame, rgb_color color)
        : BView(frame, "solid", B_FOLLOW_NONE, B_WILL_DRAW), fColor(color)
    {
    }

    void Draw(BRect) override
    {
        SetHighColor(fColor);
        FillRect(Bounds());
    }

    void MouseDown(BPoint) override { presses++; }

    std::atomic<int> presses{0};

private:
    rgb_color fColor;
};

// An application on the headless display whose loop is stopped before the
// application object goes, also when a test ends early.
struct TestApp {
    TestApp() : app(std::make_unique<BApplication>("application/x-vnd-test")) {}
    ~TestApp() { harness.Quit(); }

    HeadlessApp harness;
    std::unique_ptr<BApplication> app;
};

// Waits until the looper has handled everything, including whatever it
// posted to itself on the way (updates, invoked messages).
inline bool Idle(BLooper* looper)
{
    do {
        if (!HeadlessApp::Settle(looper))
            return false;
    } while (looper->_CountHandled() < looper->_CountPosted());
    return true;
}

// Pointer input, then a wait until the window has dealt with all of it.
inline bool Press(HeadlessApp& harness, BWindow* window, BPoint where)
{
    harness.MoveTo(window, where);
    harness.display.Press();
    return harness.display.WaitForInput() && Idle(window);
}

inline bool MoveHeld(HeadlessApp& harness, BWindow* window, BPoint where)
{
    harness.MoveTo(window, where);
    return harness.display.WaitForInput() && Idle(window);
}

inline bool Release(HeadlessApp& harness, BWindow* window)
{
    harness.display.Release();
    return harness.display.WaitForInput() && Idle(window);
}

inline bool ClickAt(HeadlessApp& harness, BWindow* window, BPoint where)
{
    return Press(harness, window, where) && Release(harness, window);
}

inline uint32 Rgb(uint32 pixel)
{
    return pixel & 0x00ffffff;
}

inline uint32 Rgb(rgb_color color)
{
    return ((uint32)color.red << 16) | ((uint32)color.green << 8) | color.blue;
}

// A pixel dark enough to be part of black text.
inline bool IsInk(uint32 pixel)
{
    return ((pixel >> 16) & 0xff) < 128 && ((pixel >> 8) & 0xff) < 128 && (pixel & 0xff) < 128;
}

} // namespace kxtest

#endif
