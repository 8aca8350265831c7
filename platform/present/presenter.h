// How the pixels of top-level windows reach a screen: the window system reports, a presenter shows.
#pragma once

#include "platform/subset/win32_types.h"

namespace platform {

// The window system calls these on the user-interface thread. A top-level window's surface holds the
// pixels of the window and all its children.
class Presenter {
public:
    virtual ~Presenter() = default;
    virtual void windowShown(HWND topLevel) = 0;  // created visible, or its surface was replaced
    virtual void present(HWND topLevel) = 0;      // drawing into the window's surface has finished
    virtual void windowDestroyed(HWND topLevel) = 0;
};

Presenter& presenter();
// Replaces the presenter; null restores the headless one.
void setPresenter(Presenter* presenter);

}  // namespace platform
