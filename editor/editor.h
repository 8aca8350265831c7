// Editor: the plug-in's panel: images, the two cut-off sliders with their value displays, the mode
// switch and the markings, wired to the effect's parameters in both directions.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "editor/aeff_gui_editor.h"
#include "editor/shared_images.h"
#include "gui/control.h"

namespace gui {
class CBitmap;
class CTextEdit;
class CVerticalSlider;
class CVerticalSwitch;
}  // namespace gui

// Threads: open, close, idle and valueChanged run on the host's user-interface thread (the one that
// opened the editor), with the interface lock held. setParameter may come from any thread: on the
// interface thread it moves the controls at once when the interface lock is free; otherwise it only
// notes the parameter, and the next idle moves its controls. Keys too may come from any thread: from
// another they wait for the next idle.
class Editor : public AEffGUIEditor, public CControlListener {
public:
    explicit Editor(AudioEffect* effect);
    ~Editor() override;

    bool open(void* parentWindow) override;
    void close() override;
    // Moves the controls of the parameters changed on other threads, then redraws what is dirty.
    void idle() override;
    void setParameter(std::int32_t index, float value) override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    // Controls bracket their gestures with their tag; the host hears the parameter's index.
    void beginEdit(std::int32_t tag) override;
    void endEdit(std::int32_t tag) override;

    void valueChanged(gui::CDrawContext* context, gui::CControl* control) override;

private:
    // Sets the controls of one parameter from the effect's current value.
    void showParameter(std::int32_t index);
    void showChangedParameters();
    // A key from another thread: kept for the interface thread when the editor would take it now.
    bool handOver(const VstKeyCode& keyCode, bool down);
    void deliverHandedKeys();
    void noteWhichKeysAreTaken();

    gui::CVerticalSlider* lowerSlider = nullptr;
    gui::CVerticalSlider* upperSlider = nullptr;
    gui::CTextEdit* lowerDisplay = nullptr;
    gui::CTextEdit* upperDisplay = nullptr;
    gui::CVerticalSwitch* modeSwitch = nullptr;
    // Held while open: the images are decoded for open editors only.
    std::unique_ptr<SharedImages> images;

    // One bit per parameter changed on another thread since the controls last showed it.
    std::atomic<std::uint32_t> changedParameters{0};
    // The thread that opened the frame; none while closed.
    std::atomic<std::thread::id> interfaceThread{};

    // What the frame would take, as the interface thread last saw it: every key while an edit box is
    // open, the arrows while a control has the focus.
    enum KeysTaken : int { kNoKeys, kArrowKeys, kAllKeys };
    std::atomic<int> keysTaken{kNoKeys};
    struct HandedKey {
        VstKeyCode code;
        bool down;
    };
    std::mutex handedKeysLock;  // the interface thread and the hosts' key threads only
    std::deque<HandedKey> handedKeys;
};

// The display text of a normalised cut-off: whole hertz, as "%d Hz".
void frequencyToText(float value, char* text);
