// Input from a desktop (the X server on Linux) turned into the messages Windows would post for it.
#pragma once

#include "platform/subset/win32_user.h"
#include "platform/window/input_state.h"

namespace platform {

enum class MouseButton { left, middle, right };

// A pointer event over a top-level window of the subset, at a point of its client area; keys holds
// the MK_ flags of the buttons and modifiers down with it. Each goes to the deepest shown window under
// the point, with the pointer's position recorded for the message.
void postButton(HWND topLevel, POINT client, MouseButton button, bool pressed, WPARAM keys);
void postMotion(HWND topLevel, POINT client, WPARAM keys);
// Positive notches turn away from the user.
void postWheel(HWND topLevel, POINT client, int notches, WPARAM keys);
// A key to the focus window: WM_KEYDOWN, with WM_CHAR for a character, or WM_KEYUP.
void postKey(UINT virtualKey, unsigned char character, bool pressed);

// A desktop that answers where the pointer is and which buttons and modifiers are down, asked at every
// GetCursorPos and GetAsyncKeyState so that a control's tracking loop follows the user live.
class LiveInput {
public:
    virtual ~LiveInput() = default;
    // Updates the pointer (in the subset's screen coordinates), the buttons and the modifier keys.
    virtual void read(InputState& state) = 0;
};

// Null returns to the recorded state alone. User-interface thread only.
void setLiveInput(LiveInput* live);
LiveInput* liveInput();

}  // namespace platform
