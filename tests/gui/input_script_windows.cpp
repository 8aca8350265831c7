// The input script on Windows: SetCursorPos and SendInput, one gesture step per call from the loop.
#include "tests/conformance/support.h"
#include "tests/gui/input_script.h"

namespace guitest {
namespace {

bool isDown(int key) {
    return GetAsyncKeyState(key) < 0;
}

void sendKey(WORD key, bool down) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof input);
}

void sendLeft(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

// The system queues input for the window under the pointer; wait until a message of the kind is
// there. The bound only keeps a broken display from hanging the suite.
void awaitQueued(UINT kind) {
    constexpr DWORD kPatienceMilliseconds = 5000;
    constexpr DWORD kSliceMilliseconds = 20;
    const DWORD start = GetTickCount();
    MSG message{};
    while (!PeekMessageA(&message, nullptr, kind, kind, PM_NOREMOVE) &&
           GetTickCount() - start < kPatienceMilliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kSliceMilliseconds, QS_ALLINPUT);
    }
}

void awaitPress() {
    awaitQueued(WM_LBUTTONDOWN);
}

// Wine's X11 driver may take the modifiers from the X server when it handles a pointer event, which
// knows nothing of the keys sent here: let it handle what is pending first, then set them as the step
// wants. Peeking for WM_NULL alone removes nothing.
void settleModifiers(const Step& step) {
    MSG message{};
    PeekMessageA(&message, nullptr, WM_NULL, WM_NULL, PM_NOREMOVE);
    if (isDown(VK_SHIFT) != step.shift) {
        sendKey(VK_SHIFT, step.shift);
    }
    if (isDown(VK_CONTROL) != step.control) {
        sendKey(VK_CONTROL, step.control);
    }
}

}  // namespace

InputScript::InputScript() = default;

InputScript::~InputScript() {
    releaseAll();
    // Clipping the pointer keeps Wine's X11 driver from re-reading the modifiers from the X server
    // every time the pointer is warped, which would release Shift and Control behind the script's back.
    if (clipped != nullptr) {
        ClipCursor(nullptr);
    }
    if (keptDoubleClickTime != 0) {
        SetDoubleClickTime(keptDoubleClickTime);
    }
}

void InputScript::prepare(HWND host) {
    SetWindowPos(host, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(host);
    RECT bounds{};
    GetWindowRect(host, &bounds);
    ClipCursor(&bounds);
    clipped = host;
    conformance::pumpMessages();
}

void InputScript::apply(const Step& step) {
    POINT now{};
    GetCursorPos(&now);
    if (now.x != step.at.x || now.y != step.at.y) {
        SetCursorPos(step.at.x, step.at.y);
    }
    settleModifiers(step);
    if (isDown(VK_LBUTTON) != step.left) {
        sendLeft(step.left);
    }
    settleModifiers(step);
    current = step;
}

void InputScript::play(const std::vector<Step>& steps) {
    if (steps.empty()) {
        return;
    }
    pending.assign(steps.begin() + 1, steps.end());
    apply(steps.front());
    if (steps.front().left) {
        awaitPress();
    }
    settleModifiers(steps.front());
    conformance::pumpMessages();
    pending.clear();
    releaseAll();
}

void InputScript::stepFromLoop() {
    if (pending.empty()) {
        return;
    }
    const Step next = pending.front();
    pending.erase(pending.begin());
    apply(next);
}

void InputScript::click(POINT screen) {
    Step press;
    press.at = screen;
    press.left = true;
    apply(press);
    awaitPress();
    conformance::pumpMessages();
    Step release;
    release.at = screen;
    apply(release);
    conformance::pumpMessages();
}

void InputScript::quickClick(POINT screen, bool control) {
    Step held = current;
    held.at = screen;
    held.left = false;
    held.control = control;
    apply(held);
    INPUT inputs[2]{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
    awaitQueued(WM_LBUTTONUP);
    conformance::pumpMessages();
    held.control = false;
    apply(held);
    conformance::pumpMessages();
}

void InputScript::setModifiers(bool shift, bool control) {
    Step step = current;
    GetCursorPos(&step.at);
    step.shift = shift;
    step.control = control;
    apply(step);
}

void InputScript::moveTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    current.at = screen;
}

void InputScript::turnWheel(HWND window, POINT screen, int notches) {
    const auto delta = static_cast<WORD>(static_cast<SHORT>(notches * WHEEL_DELTA));
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, delta),
                 MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    conformance::pumpMessages();
}

void InputScript::typeText(const std::string& text) {
    HWND focus = GetFocus();
    for (char character : text) {
        PostMessageA(focus, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 1);
    }
    conformance::pumpMessages();
}

void InputScript::pressKey(int virtualKey) {
    HWND focus = GetFocus();
    const auto key = static_cast<WPARAM>(virtualKey);
    PostMessageA(focus, WM_KEYDOWN, key, 1);
    if (virtualKey == VK_RETURN || virtualKey == VK_BACK || virtualKey == VK_ESCAPE || virtualKey == VK_TAB) {
        PostMessageA(focus, WM_CHAR, key, 1);
    }
    PostMessageA(focus, WM_KEYUP, key, 1);
    conformance::pumpMessages();
}

bool InputScript::advanceTime(DWORD /*milliseconds*/) {
    return false;
}

void InputScript::lengthenDoubleClicks(UINT milliseconds) {
    if (keptDoubleClickTime == 0) {
        keptDoubleClickTime = GetDoubleClickTime();
    }
    SetDoubleClickTime(milliseconds);
}

void InputScript::releaseAll() {
    Step released;
    GetCursorPos(&released.at);
    apply(released);
    conformance::pumpMessages();
}

}  // namespace guitest
