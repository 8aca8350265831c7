// Real input for the toolkit tests on both targets: the pointer, buttons and keys that a tracking loop
// reads through GetAsyncKeyState and GetCursorPos, and the messages the system posts for them.
#pragma once

#include <string>
#include <vector>

#include "platform/win32.h"

namespace guitest {

// One step of a gesture, in screen coordinates.
struct Step {
    POINT at{0, 0};
    bool left = false;
    bool shift = false;
    bool control = false;
};

// Gestures are deterministic on both targets: the first step presses, and every later step takes effect
// when the control's tracking loop calls doIdleStuff, so the loop sees one step per iteration. On Linux
// the subset's test driver does this itself (and makes time virtual); on Windows the script moves the
// pointer with SetCursorPos and presses and releases with SendInput at that moment.
class InputScript {
public:
    InputScript();
    ~InputScript();
    InputScript(const InputScript&) = delete;
    InputScript& operator=(const InputScript&) = delete;

    // Keeps the host window on top and the pointer inside it for the script's lifetime.
    void prepare(HWND host);
    // Presses at the first step and dispatches messages until the press has been handled.
    void play(const std::vector<Step>& steps);
    // Called from the test editor's doIdleStuff: the next step of the gesture in progress.
    void stepFromLoop();
    // A left click: press, dispatch, release, dispatch.
    void click(POINT screen);
    // A left click whose press and release are both queued before any message is dispatched, as a
    // quick click or a touchpad's tap arrives; with control held when asked.
    void quickClick(POINT screen, bool control);
    void setModifiers(bool shift, bool control);
    void moveTo(POINT screen);
    // Posts what the system sends for one turn of the wheel to the window under the point.
    void turnWheel(HWND window, POINT screen, int notches);
    // Keys to the window with the keyboard focus, as the system posts them.
    void typeText(const std::string& text);
    void pressKey(int virtualKey);
    // Moves the clock forward where time is virtual; false where it is the system's.
    bool advanceTime(DWORD milliseconds);
    // Where the clock is the system's, makes the double-click time this long for the script's lifetime,
    // so that two clicks in a row are a double click however busy the machine is.
    void lengthenDoubleClicks(UINT milliseconds);
    void releaseAll();

private:
    void apply(const Step& step);
    std::vector<Step> pending;
    Step current;
    HWND clipped = nullptr;
    UINT keptDoubleClickTime = 0;
};

}  // namespace guitest
