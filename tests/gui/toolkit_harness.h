// What the toolkit tests put around the controls: an editor that records the gesture bracket and steps
// gestures from the tracking loop, a listener that records what it hears, and a frame in a host window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "editor/aeff_gui_editor.h"
#include "gui/control.h"
#include "gui/frame.h"
#include "tests/gui/editor_controls.h"
#include "tests/gui/input_script.h"

namespace guitest {

// The host window's place on the screen and its size: room below the frame for drags past its edge.
constexpr int kHostX = 40;
constexpr int kHostY = 30;
constexpr int kHostWidth = 460;
constexpr int kHostHeight = 680;

// Records beginEdit and endEdit into a log. Its doIdleStuff draws what is dirty and dispatches pending
// paints at every step, so what a gesture reports does not depend on the clock, then lets the input
// script take the gesture's next step.
class TestEditor : public AEffGUIEditor {
public:
    explicit TestEditor(std::string* log, AudioEffect* owner = nullptr) : AEffGUIEditor(owner), events(log) {}
    ~TestEditor() override { frame = nullptr; }

    void beginEdit(std::int32_t index) override;
    void endEdit(std::int32_t index) override;
    void doIdleStuff() override;

    // The frame the editor's idle and keys reach; the fixture owns it.
    void useFrame(gui::CFrame* shown) { frame = shown; }
    void useScript(InputScript* stepper) { script = stepper; }
    int idleCalls = 0;

private:
    std::string* events;
    InputScript* script = nullptr;
};

// Appends "value <tag>=<value>" for every report, with the value to six significant digits, and for a
// text edit its text in quotes.
class RecordingListener : public CControlListener {
public:
    explicit RecordingListener(std::string* log) : events(log) {}
    void valueChanged(gui::CDrawContext* context, gui::CControl* control) override;
    std::vector<float> values;
    int reports = 0;

private:
    std::string* events;
};

// A frame of the editor's size inside the (shared) host window, with the test editor and listener, and
// an input script; the first paint has happened when the constructor returns.
struct FrameInHost {
    FrameInHost();
    ~FrameInHost();
    FrameInHost(const FrameInHost&) = delete;
    FrameInHost& operator=(const FrameInHost&) = delete;

    // A point of the frame on the screen.
    static POINT screen(int x, int y) { return POINT{kHostX + x, kHostY + y}; }
    // Adds a view and lets the window paint it.
    template <typename View>
    View* add(View* view) {
        frame->addView(view);
        return view;
    }
    void paint();
    // The frame window's pixels, top-down, 0x00RRGGBB.
    std::vector<std::uint32_t> pixels() const;
    std::uint32_t pixel(int x, int y) const;

    std::string log;
    InputScript input;
    TestEditor editor{&log};
    RecordingListener listener{&log};
    HWND host = nullptr;
    gui::CFrame* frame = nullptr;
};

}  // namespace guitest
