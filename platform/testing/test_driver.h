// Test input for the headless subset: the pointer, buttons, keys, gestures, wheel turns, drags and the clock.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "platform/window/input_state.h"

namespace platform::testing {

// While a driver exists, time is virtual (it starts at kStartTicks and moves only with Sleep and
// advance) and input comes only from the driver. One driver at a time, on the user-interface thread.
class Driver {
public:
    static constexpr DWORD kStartTicks = 1000000;

    Driver();
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    DWORD ticks() const;
    void advance(DWORD milliseconds);

    void setCursor(POINT screen);
    void setModifiers(bool shift, bool control, bool alt);
    // The physical buttons, held without any message; a gesture still in progress is dropped.
    void holdButtons(bool left, bool right, bool middle);
    void swapButtons(bool swapped);

    // Posts the press of the first step to the window under its pointer; a tracking loop then sees the
    // following steps one per iteration (see GestureStep). The last step should release the buttons.
    void gesture(const std::vector<GestureStep>& steps);
    bool gestureFinished() const;
    // A left click: press and release at one screen point, both posted.
    void click(POINT screen);
    // A left click whose release has happened before the press is handled: both posted, and the
    // buttons already up again, as when a quick click reaches a window between two of its idles.
    void quickClick(POINT screen);
    // Keys to the focus window, as posted WM_KEYDOWN, WM_CHAR and WM_KEYUP messages.
    void typeText(const std::string& text);
    void pressKey(int virtualKey);
    // Posts WM_MOUSEWHEEL to the window under the point; positive notches turn away from the user.
    void turnWheel(POINT screen, int notches);
    // Dispatches posted messages and then paint messages until none is left; answers how many.
    int pumpMessages();

    // Drags text or files over the window under the point and drops them there (or leaves again),
    // through the drop target registered for it or its nearest ancestor. Answers the target's last
    // effect, or DROPEFFECT_NONE when no target is registered.
    DWORD dragText(POINT screen, const std::string& text, bool drop = true);
    DWORD dragFiles(POINT screen, const std::vector<std::string>& files, bool drop = true);

    HWND windowAt(POINT screen) const;
    // A CF_HDROP block such as the shell makes, for DragQueryFileA.
    static HDROP makeFileList(const std::vector<std::string>& files);
    static void freeFileList(HDROP files);

    // GDI objects and device contexts that exist now, stock objects aside; a drawing that leaks none
    // leaves the count as it found it.
    static std::size_t liveGdiObjects();
    // Windows that exist now, children included.
    static std::size_t liveWindows();
    // The first top-level window of the subset shown inside a window that the subset does not know
    // (the host's native window), or null.
    static HWND windowInNativeParent(HWND native);
};

}  // namespace platform::testing
