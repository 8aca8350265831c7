// Markings: the editor's captions, mode names and the leader lines from the mode switch to each name.
#pragma once

#include "gui/view_tree.h"

// Draws last, over every other view of the frame; it takes no input, so clicks reach the controls.
class Markings : public gui::CView {
public:
    explicit Markings(const gui::CRect& rect) : gui::CView(rect) {}
    ~Markings() override = default;

    void draw(gui::CDrawContext* context) override;
};
