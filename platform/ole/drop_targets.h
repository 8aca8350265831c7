// The drop target registered for a window, for whatever delivers drags to it.
#pragma once

#include "platform/subset/win32_ole.h"

namespace platform {

IDropTarget* registeredDropTarget(HWND window);

}  // namespace platform
