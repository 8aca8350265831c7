// The editor shell for a toolkit-drawn editor: the rectangle, idle, keys, wheel, knob mode, the gesture
// bracket towards the effect, and the pacing of idle work while a control tracks the mouse.
#pragma once

#include <cstdint>
#include <thread>

#include "editor/aeff_editor.h"

namespace gui {
class CFrame;
}

// Every operation runs on the thread that opened the editor (the host's user-interface thread); the
// frame calls beginEdit, endEdit and doIdleStuff back on it.
class AEffGUIEditor : public AEffEditor {
public:
    explicit AEffGUIEditor(AudioEffect* effect);
    ~AEffGUIEditor() override;

    bool getRect(ERect** rect) override;
    void idle() override;
    bool onKeyDown(VstKeyCode& keyCode) override;
    bool onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(float distance) override;
    bool setKnobMode(std::int32_t mode) override;

    virtual void setParameter(std::int32_t index, float value);
    virtual void beginEdit(std::int32_t index);
    virtual void endEdit(std::int32_t index);
    // Called once per step of a control's tracking loop: paced idle, pending paints, the host's idle.
    virtual void doIdleStuff();

    gui::CFrame* getFrame() const { return frame; }

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
    // Hosts may make the effect on one thread and destroy it on another: only the thread whose
    // OleInitialize succeeded may balance it.
    bool oleInitialised = false;
    std::thread::id oleThread;
};
