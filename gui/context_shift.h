// Moves a drawing context into a child's coordinates for one call: both offsets raised, then restored.
#pragma once

#include "gui/draw_context.h"

namespace gui {

class ContextShift {
public:
    ContextShift(CDrawContext* context, const CPoint& by) : shifted(context), amount(by) { move(amount.h, amount.v); }
    ~ContextShift() { move(-amount.h, -amount.v); }
    ContextShift(const ContextShift&) = delete;
    ContextShift& operator=(const ContextShift&) = delete;

private:
    void move(std::int32_t dx, std::int32_t dy) {
        if (shifted == nullptr) {
            return;
        }
        shifted->offsetScreen.offset(dx, dy);
        shifted->offset.offset(dx, dy);
    }
    CDrawContext* shifted;
    CPoint amount;
};

}  // namespace gui
