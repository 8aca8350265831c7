// AEffGUIEditor: forwards the host's editor requests to the frame and paces idle work during gestures.
#include "editor/aeff_gui_editor.h"

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "platform/win32.h"
#include "plugin/audio_effect_x.h"

namespace {

constexpr std::uint32_t kMinimumWaitMilliseconds = 4;
constexpr std::uint32_t kEarlyMarginMilliseconds = 50;
constexpr std::uint32_t kIdlePeriodMilliseconds = 100;

// The tick counter wraps after 49.7 days; a wrapping difference keeps the order across the wrap.
bool isBefore(std::uint32_t time, std::uint32_t reference) {
    return static_cast<std::int32_t>(time - reference) < 0;
}

std::uint32_t systemTicks() {
    return GetTickCount();
}

void systemSleep(std::uint32_t milliseconds) {
    Sleep(milliseconds);
}

}  // namespace

AEffGUIEditor::IdleClock AEffGUIEditor::idleClock{systemTicks, systemSleep};

AEffGUIEditor::AEffGUIEditor(AudioEffect* owner) : AEffEditor(owner), lLastTicks(idleClock.ticks()) {
    if (effect != nullptr) {
        effect->setEditor(this);
    }
}

AEffGUIEditor::~AEffGUIEditor() {
    // A host that destroys the effect without closing the editor must not leave a window behind; a
    // frame still tracking a gesture goes when it returns, and reports to nobody until then.
    if (frame != nullptr) {
        frame->release(false);
    }
    frame = nullptr;
    balanceOle();
}

bool AEffGUIEditor::open(void* parentWindow) {
    // OLE for drag and drop; a thread the host set up for another apartment refuses it, and only a
    // successful call may be balanced.
    if (!oleInitialised) {
        const HRESULT result = OleInitialize(nullptr);
        oleInitialised = result == S_OK || result == S_FALSE;
        oleThread = std::this_thread::get_id();
    }
    return AEffEditor::open(parentWindow);
}

void AEffGUIEditor::close() {
    balanceOle();
    AEffEditor::close();
}

void AEffGUIEditor::balanceOle() {
    // On another thread the opening thread keeps its initialisation: uninitialising here would take
    // OLE away from a thread that never asked for it.
    if (oleInitialised && oleThread == std::this_thread::get_id()) {
        OleUninitialize();
    }
    oleInitialised = false;
}

void AEffGUIEditor::enterCall() {
    if (effect != nullptr) {
        effect->enterCall();
    }
}

void AEffGUIEditor::leaveCall() {
    if (effect != nullptr) {
        effect->leaveCall();
    }
}

bool AEffGUIEditor::getRect(ERect** out) {
    *out = &rect;
    return true;
}

void AEffGUIEditor::idle() {
    if (!inIdleStuff && frame != nullptr) {
        frame->idle();
    }
}

bool AEffGUIEditor::onKeyDown(VstKeyCode& keyCode) {
    return frame != nullptr && frame->onKeyDown(keyCode) == 1;
}

bool AEffGUIEditor::onKeyUp(VstKeyCode& keyCode) {
    return frame != nullptr && frame->onKeyUp(keyCode) == 1;
}

bool AEffGUIEditor::onWheel(float distance) {
    if (frame == nullptr) {
        return false;
    }
    // A turn may reach the host, which may close the editor there: the frame outlives the context.
    const gui::CFrame::InUse running(frame);
    auto* context = new gui::CDrawContext(frame, nullptr, static_cast<HWND>(systemWindow));
    POINT cursor{};
    GetCursorPos(&cursor);
    const gui::CPoint where(cursor.x - context->offsetScreen.h, cursor.y - context->offsetScreen.v);
    const bool taken = frame->onWheel(context, where, distance);
    context->forget();
    return taken;
}

bool AEffGUIEditor::setKnobMode(std::int32_t mode) {
    knobMode = mode;
    return true;
}

void AEffGUIEditor::setParameter(std::int32_t /*index*/, float /*value*/) {}

void AEffGUIEditor::beginEdit(std::int32_t index) {
    if (auto* extended = dynamic_cast<AudioEffectX*>(effect)) {
        extended->beginEdit(index);
    }
}

void AEffGUIEditor::endEdit(std::int32_t index) {
    if (auto* extended = dynamic_cast<AudioEffectX*>(effect)) {
        extended->endEdit(index);
    }
}

bool AEffGUIEditor::sizeWindow(std::int32_t width, std::int32_t height) {
    auto* extended = dynamic_cast<AudioEffectX*>(effect);
    char capability[] = "sizeWindow";
    return extended != nullptr && extended->canHostDo(capability) != 0 && extended->sizeWindow(width, height);
}

void AEffGUIEditor::doIdleStuff() {
    std::uint32_t now = idleClock.ticks();
    if (isBefore(now, lLastTicks)) {
        idleClock.sleep(kMinimumWaitMilliseconds);
        now += kMinimumWaitMilliseconds;
        if (isBefore(now, lLastTicks - kEarlyMarginMilliseconds)) {
            return;
        }
    }
    idle();
    MSG message{};
    if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    lLastTicks = now + kIdlePeriodMilliseconds;
    inIdleStuff = true;
    if (effect != nullptr) {
        effect->masterIdle();
    }
    inIdleStuff = false;
}
