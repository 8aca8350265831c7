// What the Linux editor tests reach inside the plug-in's testing build: the subset there is the
// library's own, hidden copy, so its test driver and window queries are handed out as one table.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32.h"
#include "platform/window/input_state.h"

namespace editortest {

struct TestingAccess {
    // The subset's test driver: virtual time and injected input, from the user-interface thread.
    void (*startDriver)();
    void (*stopDriver)();
    void (*advance)(DWORD milliseconds);
    void (*setCursor)(POINT screen);
    void (*setModifiers)(bool shift, bool control, bool alt);
    void (*holdButtons)(bool left, bool right, bool middle);
    void (*gesture)(const platform::GestureStep* steps, std::size_t count);
    void (*click)(POINT screen);
    void (*quickClick)(POINT screen);
    void (*typeText)(const char* text);
    void (*pressKey)(int virtualKey);
    void (*turnWheel)(POINT screen, int notches);
    int (*pumpMessages)();
    // Windows: the editor's window inside a native parent, and what tests read of it.
    HWND (*windowIn)(void* nativeParent);
    int (*className)(HWND window, char* name, int size);
    HWND (*parentOf)(HWND window);
    BOOL (*windowRect)(HWND window, RECT* rect);
    // Top-down 0x00RRGGBB pixels of the window's client area, width by height.
    void (*readPixels)(HWND window, int width, int height, std::uint32_t* pixels);
    HWND (*focusWindow)();
    // Marks the whole window for a paint.
    void (*invalidate)(HWND window);
    std::size_t (*liveGdiObjects)();
    std::size_t (*liveWindows)();
};

}  // namespace editortest

// Exported by the testing build of the plug-in only.
using TestingAccessEntry = const editortest::TestingAccess* (*)();
