// A library with a copy of the toolkit of its own, loaded twice by the frame tests: each loaded copy
// names its window class after its own module handle.
#include "gui/frame.h"
#include "plugin/entry.h"

// Makes a frame in the parent window, answers its window's class name, and destroys it again.
extern "C" ZELMOR_TEST_EXPORT int zelmorTestFrameClass(void* parent, char* name, int size) {
    auto* frame = new gui::CFrame(gui::CRect(0, 0, 40, 30), parent, nullptr);
    const int length = GetClassNameA(frame->getNativeWindow(), name, size);
    frame->forget();
    return length;
}

extern "C" ZELMOR_TEST_EXPORT void* zelmorTestModule() {
    return hInstance;
}
