// Markings: three bold captions, four mode names and their leader lines, at fixed places on the panel.
#include "editor/markings.h"

#include "effect/parameter_table.h"
#include "gui/draw_context.h"

namespace {

struct Label {
    const char* text;
    gui::CRect rect;
};

// Relative to a fixed origin 30 pixels right of the frame's, wherever the view itself stands.
const gui::CPoint kOrigin(30, 0);
const Label kCaptions[] = {
    {"Freq 1", gui::CRect(-13, 200, 47, 220)},
    {"Freq 2", gui::CRect(93, 200, 153, 220)},
    {"Filter Type", gui::CRect(210, 255, 290, 275)},
};
// Top to bottom in the order of the switch's positions.
const Label kModeLabels[kModeCount] = {
    {kModeNames[0], gui::CRect(280, 295, 360, 315)},
    {kModeNames[1], gui::CRect(280, 330, 360, 350)},
    {kModeNames[2], gui::CRect(280, 365, 360, 385)},
    {kModeNames[3], gui::CRect(280, 400, 360, 420)},
};
// From the switch to the left edge of each name at its vertical centre: two segments, given as the
// point pairs drawLines takes.
const gui::CPoint kLeaders[4][4] = {
    {{222, 335}, {234, 305}, {234, 305}, {280, 305}},
    {{234, 345}, {244, 340}, {244, 340}, {280, 340}},
    {{234, 370}, {244, 375}, {244, 375}, {280, 375}},
    {{222, 380}, {234, 410}, {234, 410}, {280, 410}},
};

}  // namespace

void Markings::draw(gui::CDrawContext* context) {
    // Drawn last in a full pass, so the font and colour it leaves behind reach no other view then; the
    // offset goes back, because the frame keeps its back buffer's context for the next idle update.
    const gui::CPoint kept = context->offset;
    context->offset = kOrigin;
    context->setFontColor(gui::kBlackCColor);
    context->setFont(gui::kNormalFontBig, gui::kBoldFace);
    for (const Label& caption : kCaptions) {
        context->drawString(caption.text, caption.rect, false, gui::kCenterText);
    }
    context->setFont(gui::kNormalFontBig, 0);
    for (const Label& name : kModeLabels) {
        context->drawString(name.text, name.rect, false, gui::kCenterText);
    }
    // The displays' frame colour, which a full redraw leaves behind anyway: the lines look the same
    // when a control beneath them redraws its part of the panel with the markings over it.
    context->setFrameColor(gui::CColor{45, 45, 45, 255});
    context->setLineWidth(1);
    for (const auto& leader : kLeaders) {
        context->drawLines(leader, 2);
    }
    context->offset = kept;
    setDirty(false);
}
