// Editor: builds the panel when the host opens it, turns gestures into automated parameter changes,
// and moves the controls when parameters change.
#include "editor/editor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "editor/markings.h"
#include "effect/parameter_converter.h"
#include "effect/parameter_table.h"
#include "gui/bitmap.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/slider_and_switch.h"
#include "gui/text_edit.h"
#include "platform/interface_lock.h"
#include "plugin/audio_effect.h"

namespace {

// Image resources (131, the knob's face, and 132, a small picture, are decoded with the others but
// drawn by no view).
constexpr std::int32_t kPanel = 128;
constexpr std::int32_t kTrack = 129;
constexpr std::int32_t kHandle = 130;
constexpr std::int32_t kModeStrip = 133;
constexpr std::int32_t kPanelWidth = 396;
constexpr std::int32_t kPanelHeight = 550;

// Control tags: the sliders and the switch carry their parameter's index; a display carries the
// parameter count plus its parameter's index.
constexpr std::int32_t kLowerSliderTag = kLowerCutoff;
constexpr std::int32_t kUpperSliderTag = kUpperCutoff;
constexpr std::int32_t kModeSwitchTag = kFilterMode;
constexpr std::int32_t kLowerDisplayTag = kNumParams + kLowerCutoff;
constexpr std::int32_t kUpperDisplayTag = kNumParams + kUpperCutoff;

constexpr std::int32_t kModePositions = kModeCount;
constexpr std::int32_t kSliderTop = 230;
constexpr std::int32_t kNowhere = -30000;

const gui::CColor kDisplayFill{90, 90, 90, 255};
const gui::CColor kDisplayFrame{45, 45, 45, 255};

gui::CVerticalSlider* makeSlider(CControlListener* listener, std::int32_t left, std::int32_t tag, gui::CBitmap* track,
                                 gui::CBitmap* handle, float value) {
    const std::int32_t trackHeight = track->getHeight();
    auto* slider = new gui::CVerticalSlider(
        gui::CRect(left, kSliderTop, left + track->getWidth(), kSliderTop + trackHeight), listener, tag, kSliderTop,
        kSliderTop - 1 + trackHeight - handle->getHeight(), handle, track, gui::CPoint(0, 0));
    slider->setOffsetHandle(gui::CPoint(-3, 1));
    slider->setTransparency(true);
    slider->setValue(value);
    return slider;
}

// The switch shows the mode that plays: the filter takes the mode by quarters of the value, while the
// switch would draw the image nearest to three times it (0.2 would show High Pass and play Low Pass).
float switchPositionOf(float modeValue) {
    return static_cast<float>(filterModeOf(modeValue)) / static_cast<float>(kModePositions - 1);
}

gui::CTextEdit* makeDisplay(CControlListener* listener, const gui::CRect& rect, std::int32_t tag, float value) {
    auto* display = new gui::CTextEdit(rect, listener, tag, nullptr, nullptr, 1);
    display->setFont(gui::kNormalFontSmall);
    display->setFontColor(gui::kWhiteCColor);
    display->setBackColor(kDisplayFill);
    display->setFrameColor(kDisplayFrame);
    display->setStringConvert(frequencyToText);
    display->setWantsFocus(true);
    display->setValue(value);
    return display;
}

}  // namespace

void frequencyToText(float value, char* text) {
    parameterDisplayText(kLowerCutoff, value, text, gui::kTextBufferSize);
}

Editor::Editor(AudioEffect* owner) : AEffGUIEditor(owner) {
    // The panel's size is the editor's, read from the image's header: nothing is decoded until the
    // editor opens. Without the panel the host still gets a window of that size.
    std::int32_t width = kPanelWidth;
    std::int32_t height = kPanelHeight;
    if (!gui::resourceImageSize(kPanel, width, height)) {
        width = kPanelWidth;
        height = kPanelHeight;
    }
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<std::int16_t>(height);
    rect.right = static_cast<std::int16_t>(width);
}

Editor::~Editor() {
    // The effect goes with its editor: a frame still open must not report to either any more.
    if (frame != nullptr) {
        frame->release(false);
    }
    frame = nullptr;
    images.reset();
}

bool Editor::open(void* parentWindow) {
    // Hosts pair open with close; one that opens again first gets a fresh frame, not a second one.
    if (frame != nullptr) {
        close();
    }
    AEffGUIEditor::open(parentWindow);
    interfaceThread.store(std::this_thread::get_id());
    // Whatever changed before now is read afresh below.
    changedParameters.store(0);

    images = std::make_unique<SharedImages>();
    gui::CBitmap* background = images->get(kPanel);
    gui::CBitmap* track = images->get(kTrack);
    gui::CBitmap* handle = images->get(kHandle);
    gui::CBitmap* modeStrip = images->get(kModeStrip);

    const gui::CRect frameSize(0, 0, rect.right, rect.bottom);
    auto* newFrame = new gui::CFrame(frameSize, parentWindow, this);
    newFrame->setBackground(background);

    lowerSlider = makeSlider(this, 25, kLowerSliderTag, track, handle, effect->getParameter(kLowerCutoff));
    newFrame->addView(lowerSlider);
    upperSlider = makeSlider(this, 132, kUpperSliderTag, track, handle, effect->getParameter(kUpperCutoff));
    newFrame->addView(upperSlider);

    const std::int32_t trackWidth = track->getWidth();
    const std::int32_t trackHeight = track->getHeight();
    lowerDisplay = makeDisplay(this, gui::CRect(20, trackHeight + 235, trackWidth + 30, trackHeight + 270),
                               kLowerDisplayTag, effect->getParameter(kLowerCutoff));
    newFrame->addView(lowerDisplay);
    upperDisplay = makeDisplay(this, gui::CRect(127, trackHeight + 235, trackWidth + 137, trackHeight + 270),
                               kUpperDisplayTag, effect->getParameter(kUpperCutoff));
    newFrame->addView(upperDisplay);

    const std::int32_t imageHeight = modeStrip->getHeight() / kModePositions;
    modeSwitch = new gui::CVerticalSwitch(gui::CRect(215, 330, 215 + modeStrip->getWidth(), 330 + imageHeight), this,
                                          kModeSwitchTag, kModePositions, imageHeight, kModePositions, modeStrip,
                                          gui::CPoint(0, 0));
    modeSwitch->setTransparency(true);
    modeSwitch->setValue(switchPositionOf(effect->getParameter(kFilterMode)));
    newFrame->addView(modeSwitch);

    auto* markings = new Markings(frameSize);
    markings->setMouseEnabled(false);
    // The hit search that wheel turns and drags use ignores the mouse switch: over the whole panel
    // the markings would take them from the controls. Their mouseable area lies far off the panel.
    markings->setMouseableArea(gui::CRect(kNowhere, kNowhere, kNowhere, kNowhere));
    newFrame->addView(markings);

    // The views keep their own references to the images they draw.
    frame = newFrame;
    return true;
}

void Editor::close() {
    interfaceThread.store(std::thread::id());
    keysTaken.store(kNoKeys);
    {
        const std::lock_guard<std::mutex> lock(handedKeysLock);
        handedKeys.clear();
    }
    if (frame == nullptr) {
        return;
    }
    // The frame may be under a control's tracking loop that let the host run: it then goes once the
    // loop has returned.
    gui::CFrame* closing = frame;
    frame = nullptr;
    closing->release();
    images.reset();
    AEffGUIEditor::close();
}

void Editor::idle() {
    if (!inIdleStuff && frame != nullptr) {
        showChangedParameters();
        deliverHandedKeys();
    }
    AEffGUIEditor::idle();
    noteWhichKeysAreTaken();
}

bool Editor::onKeyDown(VstKeyCode& keyCode) {
    const std::thread::id owner = interfaceThread.load();
    if (owner == std::thread::id()) {
        return false;
    }
    if (owner != std::this_thread::get_id()) {
        return handOver(keyCode, true);
    }
    const platform::InterfaceLock locked;
    const bool taken = AEffGUIEditor::onKeyDown(keyCode);
    noteWhichKeysAreTaken();
    return taken;
}

bool Editor::onKeyUp(VstKeyCode& keyCode) {
    const std::thread::id owner = interfaceThread.load();
    if (owner == std::thread::id()) {
        return false;
    }
    if (owner != std::this_thread::get_id()) {
        return handOver(keyCode, false);
    }
    const platform::InterfaceLock locked;
    return AEffGUIEditor::onKeyUp(keyCode);
}

bool Editor::handOver(const VstKeyCode& keyCode, bool down) {
    constexpr unsigned char kFirstArrow = 11;  // left, up, right, down
    constexpr unsigned char kLastArrow = 14;
    constexpr std::size_t kMostHandedKeys = 256;
    const int taken = keysTaken.load();
    const bool arrow = keyCode.virt >= kFirstArrow && keyCode.virt <= kLastArrow;
    if (taken == kNoKeys || (taken == kArrowKeys && !arrow)) {
        return false;
    }
    const std::lock_guard<std::mutex> lock(handedKeysLock);
    if (handedKeys.size() >= kMostHandedKeys) {
        return false;
    }
    handedKeys.push_back({keyCode, down});
    return true;
}

void Editor::deliverHandedKeys() {
    for (;;) {
        HandedKey key{};
        {
            const std::lock_guard<std::mutex> lock(handedKeysLock);
            if (handedKeys.empty()) {
                return;
            }
            key = handedKeys.front();
            handedKeys.pop_front();
        }
        // A key may close the editor (Return, whose automation the host answers by closing).
        if (frame == nullptr) {
            return;
        }
        if (key.down) {
            AEffGUIEditor::onKeyDown(key.code);
        } else {
            AEffGUIEditor::onKeyUp(key.code);
        }
    }
}

void Editor::noteWhichKeysAreTaken() {
    int taken = kNoKeys;
    if (frame != nullptr) {
        gui::CView* focus = frame->getFocusView();
        auto* edit = dynamic_cast<gui::CTextEdit*>(focus);
        if (edit != nullptr && edit->getEditBox() != nullptr) {
            taken = kAllKeys;
        } else if (focus != nullptr) {
            taken = kArrowKeys;
        }
    }
    keysTaken.store(taken);
}

void Editor::setParameter(std::int32_t index, float /*value*/) {
    if (index < 0 || index >= kNumParams) {
        return;
    }
    // Views belong to the interface thread; from any other, or while another thread holds what all
    // editors share, the next idle moves the controls.
    if (std::this_thread::get_id() != interfaceThread.load() || !platform::tryLockInterface()) {
        changedParameters.fetch_or(1u << index);
        return;
    }
    showParameter(index);
    platform::unlockInterface();
}

namespace {
std::int32_t parameterOfTag(std::int32_t tag) {
    return tag == kLowerDisplayTag || tag == kUpperDisplayTag ? tag - kNumParams : tag;
}
}  // namespace

void Editor::beginEdit(std::int32_t tag) {
    AEffGUIEditor::beginEdit(parameterOfTag(tag));
}

void Editor::endEdit(std::int32_t tag) {
    AEffGUIEditor::endEdit(parameterOfTag(tag));
}

void Editor::showChangedParameters() {
    const std::uint32_t changed = changedParameters.exchange(0);
    for (std::int32_t index = 0; index < kNumParams; ++index) {
        if ((changed & (1u << index)) != 0) {
            showParameter(index);
        }
    }
}

void Editor::showParameter(std::int32_t index) {
    if (frame == nullptr) {
        return;
    }
    switch (index) {
        case kLowerCutoff:
            lowerSlider->setValue(effect->getParameter(kLowerCutoff));
            lowerDisplay->setValue(effect->getParameter(kLowerCutoff));
            break;
        case kUpperCutoff:
            upperSlider->setValue(effect->getParameter(kUpperCutoff));
            upperDisplay->setValue(effect->getParameter(kUpperCutoff));
            break;
        case kFilterMode:
            modeSwitch->setValue(switchPositionOf(effect->getParameter(kFilterMode)));
            break;
        default:
            break;
    }
}

void Editor::valueChanged(gui::CDrawContext* /*context*/, gui::CControl* control) {
    const std::int32_t tag = control->getTag();
    switch (tag) {
        case kLowerSliderTag:
        case kUpperSliderTag:
        case kModeSwitchTag:
            // A control reports its value at every step of its loop until it has been redrawn; the
            // host hears each value once.
            if (control->getValue() != effect->getParameter(tag)) {
                effect->setParameterAutomated(tag, control->getValue());
            }
            break;
        case kLowerDisplayTag:
        case kUpperDisplayTag: {
            const std::int32_t index = tag - kNumParams;
            char text[gui::kTextBufferSize] = "";
            static_cast<gui::CTextEdit*>(control)->getText(text);
            // The longest number at the start, as atof reads it; text without one changes nothing, and
            // the display shows the current value again.
            char* end = nullptr;
            const float typed = std::strtof(text, &end);
            if (end != text && !std::isnan(typed)) {
                const ZelmorConverter converter;
                float min = 0.0f;
                float max = 0.0f;
                converter.getRange(index, min, max);
                // Hosts store values from 0 to 1 only: a typed frequency stays inside the range.
                const float hertz = typed < min ? min : (typed > max ? max : typed);
                float normalised = converter.normalise(index, hertz);
                normalised = normalised < 0.0f ? 0.0f : (normalised > 1.0f ? 1.0f : normalised);
                // The display's own bracket has ended by now; hosts that record touches want one
                // around the change itself.
                AEffGUIEditor::beginEdit(index);
                effect->setParameterAutomated(index, normalised);
                AEffGUIEditor::endEdit(index);
            }
            break;
        }
        default:
            return;
    }
    control->setDirty(true);
}
