// How the pixels of top-level windows reach a screen: the window system reports, a presenter shows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/subset/win32_types.h"

namespace platform {

// The pixels of a top-level window and all its children: 0xAARRGGBB, rows top-down.
struct SurfacePixels {
    const std::uint32_t* topRow = nullptr;
    std::ptrdiff_t rowStep = 0;  // pixels from one row to the next one down
    int width = 0;
    int height = 0;
};

// The window system calls these on the user-interface thread. A top-level window is one without a
// parent of the subset's own: a window on its own, or one inside a host's native window, which is
// then its native parent.
class Presenter {
public:
    virtual ~Presenter() = default;
    // Created visible, moved, or resized (which replaces its surface). The placement is in the native
    // parent's client coordinates, or on the screen for a window on its own.
    virtual void windowShown(HWND topLevel, HWND nativeParent, const RECT& placement, const SurfacePixels& pixels) = 0;
    // Drawing into a part of the window's surface (in surface coordinates) has finished.
    virtual void present(HWND topLevel, const SurfacePixels& pixels, const RECT& changed) = 0;
    virtual void windowDestroyed(HWND topLevel) = 0;
    // The program looks for messages: what was drawn since the last time should now be seen. Drawing
    // is gathered until then, so that a screen is updated once per round, not once per context.
    virtual void flush() {}
};

Presenter& presenter();
// Replaces the presenter; null restores the headless one.
void setPresenter(Presenter* presenter);

}  // namespace platform
