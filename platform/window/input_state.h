// The pointer position, button and key states and the system settings the window system answers from.
#pragma once

#include <array>
#include <deque>

#include "platform/subset/win32_user.h"

namespace platform {

// One step of a scripted mouse gesture: where the pointer is and which buttons and keys are down.
struct GestureStep {
    POINT cursor{0, 0};
    bool left = false;
    bool right = false;
    bool middle = false;
    bool shift = false;
    bool control = false;
    bool alt = false;
};

struct InputState {
    bool driven = false;  // a test driver stands in for the desktop
    POINT cursor{0, 0};
    std::array<bool, 256> down{};  // by virtual key
    bool swappedButtons = false;
    // A gesture in progress: the next step takes effect at the first button query after the pointer
    // position of the current step has been read, so a tracking loop sees one step per iteration.
    std::deque<GestureStep> gesture;
    bool cursorRead = false;

    void apply(const GestureStep& step);
};

InputState& input();

COLORREF systemColour(int index);

}  // namespace platform
