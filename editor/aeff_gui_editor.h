// The editor shell for a toolkit-drawn editor: the rectangle, idle, keys, wheel, knob mode, the gesture
// bracket towards the effect, and the pacing of idle work while a control tracks the mouse.
#pragma once

#include <cstdint>
#include <thread>

#include "editor/aeff_editor.h"
#include "gui/frame_editor.h"

namespace gui {
class CFrame;
}

// Every operation runs on the thread that opened the editor (the host's user-interface thread); the
// frame calls beginEdit, endEdit and doIdleStuff back on it.
class AEffGUIEditor : public AEffEditor, public gui::CFrameEditor {
public:
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    // OLE for drag and drop is taken here, not at construction: making an effect touches nothing
    // process-wide of the user interface.
    bool open(void* parentWindow) override;
    void close() override;
    void idle() override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(float distance) override;
    bool setKnobMode(std::int32_t mode) override;

    void setParameter(std::int32_t index, float value) override;
    void beginEdit(std::int32_t index) override;
    void endEdit(std::int32_t index) override;
    // Called once per step of a control's tracking loop: paced idle, pending paints, the host's idle.
    void doIdleStuff() override;

    gui::CFrame* getFrame() const { return frame; }

    // Keep the effect (and so this editor) alive during a call of the frame that may reach the host;
    // after leaveCall the editor may be gone.
    void enterCall() override;
    void leaveCall() override;
    std::int32_t getKnobMode() const override { return knobMode; }
    bool sizeWindow(std::int32_t width, std::int32_t height) override;

    // Shared by every editor of the library; the frame reports it to controls that ask.
    static inline std::int32_t knobMode = 0;

    // What doIdleStuff paces with: the system's tick count and sleep. Tests put a virtual clock here.
    struct IdleClock {
        std::uint32_t (*ticks)();
        void (*sleep)(std::uint32_t milliseconds);
    };
    static IdleClock idleClock;

protected:
    ERect rect{};
    std::uint32_t lLastTicks;
    bool inIdleStuff = false;
    gui::CFrame* frame = nullptr;

private:
    // Hosts may open the editor on one thread and destroy the effect on another: only the thread
    // whose OleInitialize succeeded may balance it.
    void balanceOle();
    bool oleInitialised = false;
    std::thread::id oleThread;
};
