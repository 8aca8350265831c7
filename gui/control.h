// Controls: views that hold one value, report its changes to a listener by the dirty rule, bracket
// gestures with beginEdit and endEdit, and reset to a default on a control-click.
#pragma once

#include <cstdint>

#include "gui/view_tree.h"

namespace gui {
class CControl;
}

// Told by controls when a user gesture changed their value. User-interface thread.
class CControlListener {
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(gui::CDrawContext* context, gui::CControl* control) = 0;
    // A non-zero answer consumes a press that carries a modifier.
    virtual std::int32_t controlModifierClicked(gui::CDrawContext* context, gui::CControl* control,
                                                std::int32_t buttons);
};

namespace gui {

// The modifier bits that offer a press to the listener first: shift, control, alt and one more.
constexpr std::int32_t kModifierMask = 0x78;

// Every operation belongs to the frame's thread.
class CControl : public CView {
public:
    CControl(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background = nullptr);
    ~CControl() override;

    void draw(CDrawContext* context) override = 0;
    // A value other than the one last drawn, or a redraw asked for.
    bool isDirty() const override;
    void setDirty(bool state = true) override;
    bool isTypeOf(const char* className) const override;

    virtual void doIdleStuff();
    virtual void setValue(float value);
    virtual float getValue() const;
    virtual void setMin(float value);
    virtual float getMin() const;
    virtual void setMax(float value);
    virtual float getMax() const;
    virtual void setOldValue(float value);
    virtual float getOldValue() const;
    virtual void setDefaultValue(float value);
    virtual float getDefaultValue() const;
    virtual void setTag(std::int32_t value);
    virtual std::int32_t getTag() const;
    // Takes the frame's focus and opens the host's gesture on this control's tag.
    virtual void beginEdit();
    virtual void endEdit();
    virtual void setBackOffset(const CPoint& offset);
    virtual void copyBackOffset();
    virtual void setWheelInc(float value);
    virtual float getWheelInc() const;
    // Brings the value back into [vmin, vmax]; NaN stays NaN.
    virtual void bounceValue();
    // A control-click (left button with control, nothing else) resets to the default value.
    virtual bool checkDefaultValue(CDrawContext* context, std::int32_t buttons);

    CControlListener* getListener() const { return listener; }
    void setListener(CControlListener* newListener) { listener = newListener; }

protected:
    // The checks every press starts with: false when the press ends here (mouse disabled, or the
    // listener took a modifier press). Reads the buttons when they are -1.
    bool acceptPress(CDrawContext* context, std::int32_t& buttons);
    // Tells the listener, when there is one, if the value differs from the one last drawn.
    void reportIfDirty(CDrawContext* context);

    CControlListener* listener;
    std::int32_t tag;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float vmin = 0.0f;
    float vmax = 1.0f;
    float wheelInc = 0.1f;
    std::int32_t lastTicks = -1;
    std::int32_t delta;
    CPoint backOffset;
};

}  // namespace gui
