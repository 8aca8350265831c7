// What a frame asks of the editor it serves: the gesture bracket, idle work, the knob mode, resizing.
#pragma once

#include <cstdint>

namespace gui {

// Declared by the toolkit and implemented by the editor shell, so that the toolkit knows nothing of
// the plug-in above it. Every call comes on the thread that made the frame.
class CFrameEditor {
public:
    virtual ~CFrameEditor() = default;

    virtual void beginEdit(std::int32_t index) = 0;
    virtual void endEdit(std::int32_t index) = 0;
    // Once per step of a control's tracking loop: paced idle, pending paints, the host's idle.
    virtual void doIdleStuff() = 0;
    // Bracket a call of the frame that may reach the host, which may remove the whole editor there:
    // after leaveCall the editor may be gone.
    virtual void enterCall() = 0;
    virtual void leaveCall() = 0;
    virtual std::int32_t getKnobMode() const = 0;
    // Asks the host to resize its window to the frame's new size; false when it will not.
    virtual bool sizeWindow(std::int32_t width, std::int32_t height) = 0;
};

}  // namespace gui
