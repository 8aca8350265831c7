// Views for the toolkit tests: a probe that records what reaches it and fills whatever it is allowed to.
#pragma once

#include <cstdint>
#include <string>

#include "gui/draw_context.h"
#include "gui/view_tree.h"

namespace guitest {

struct ProbeRecord {
    int draws = 0;
    int partialDraws = 0;
    int presses = 0;
    int lostFocus = 0;
    gui::CPoint lastPress;
    gui::CRect lastClip;     // as the context answers it, without the drawing offset
    gui::CPoint lastOffset;  // the context's drawing offset
    bool destroyed = false;
};

class ProbeView : public gui::CView {
public:
    // Fills a huge area in the colour: the clip alone decides what reaches the pixels.
    ProbeView(const gui::CRect& rect, ProbeRecord* record, gui::CColor fill = gui::kRedCColor)
        : CView(rect), out(record), colour(fill) {}
    ~ProbeView() override { out->destroyed = true; }

    void draw(gui::CDrawContext* context) override {
        ++out->draws;
        context->getClipRect(out->lastClip);
        out->lastOffset = context->offset;
        context->setFillColor(colour);
        context->fillRect(gui::CRect(-1000, -1000, 3000, 3000));
        CView::draw(context);
    }
    void drawRect(gui::CDrawContext* context, const gui::CRect& update) override {
        ++out->partialDraws;
        CView::drawRect(context, update);
    }
    void mouse(gui::CDrawContext* /*context*/, gui::CPoint& where, std::int32_t /*buttons*/) override {
        ++out->presses;
        out->lastPress = where;
    }
    void looseFocus(gui::CDrawContext* /*context*/) override { ++out->lostFocus; }

private:
    ProbeRecord* out;
    gui::CColor colour;
};

// A view that answers keys with a fixed result and counts the questions.
class KeyView : public gui::CView {
public:
    KeyView(std::int32_t answer, int* asked) : CView(gui::CRect(0, 0, 1, 1)), result(answer), count(asked) {}
    std::int32_t onKeyDown(VstKeyCode& /*key*/) override {
        ++*count;
        return result;
    }

private:
    std::int32_t result;
    int* count;
};

// Counts what a drag does over it, as a drop target view would see it.
class DragView : public gui::CView {
public:
    DragView(const gui::CRect& rect, std::string* log, char name) : CView(rect), events(log), letter(name) {}
    bool onDrop(gui::CDrawContext* /*context*/, gui::CDragContainer* /*drag*/, const gui::CPoint& where) override {
        note('d', where);
        return true;
    }
    void onDragEnter(gui::CDrawContext* /*context*/, gui::CDragContainer* /*drag*/, const gui::CPoint& where) override {
        note('e', where);
    }
    void onDragLeave(gui::CDrawContext* /*context*/, gui::CDragContainer* /*drag*/, const gui::CPoint& where) override {
        note('l', where);
    }
    void onDragMove(gui::CDrawContext* /*context*/, gui::CDragContainer* /*drag*/, const gui::CPoint& where) override {
        note('m', where);
    }

private:
    void note(char event, const gui::CPoint& where) {
        *events += std::string{letter, event} + std::to_string(where.h) + "," + std::to_string(where.v) + " ";
    }
    std::string* events;
    char letter;
};

}  // namespace guitest
