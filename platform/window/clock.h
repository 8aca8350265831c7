// The clock behind GetTickCount and Sleep: the system's, or a virtual one that tests advance.
#pragma once

#include "platform/subset/win32_types.h"

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    virtual DWORD ticks() = 0;
    virtual void sleep(DWORD milliseconds) = 0;
};

// Replaces the clock; null restores the system clock. User-interface thread only.
void setClock(Clock* clock);

}  // namespace platform
