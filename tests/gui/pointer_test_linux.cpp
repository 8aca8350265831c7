// The pointer as views read it, with input from the subset's test driver: buttons (swapped or not) and
// modifiers, the location in a view's own coordinates, and the view under the pointer.
#include <gtest/gtest.h>

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/system_state.h"
#include "platform/testing/test_driver.h"
#include "tests/gui/probe_view.h"

namespace guitest {
namespace {

using gui::CPoint;
using gui::CRect;
using platform::GestureStep;
using platform::testing::Driver;

GestureStep at(int x, int y) {
    GestureStep step;
    step.cursor = {x, y};
    return step;
}

TEST(PointerState, SwappedButtonsReportThePhysicalLeftButtonAsTheRightOne) {
    Driver driver;
    gui::CDrawContext context(nullptr, nullptr, nullptr);
    GestureStep press = at(5, 5);
    press.left = true;
    press.shift = true;
    press.alt = true;
    driver.gesture({press});
    EXPECT_EQ(context.getMouseButtons(), gui::kLButton | gui::kShift | gui::kAlt);
    driver.swapButtons(true);
    gui::system::swappedMouseButtons = GetSystemMetrics(SM_SWAPBUTTON) > 0;  // as the frame reads it
    EXPECT_EQ(context.getMouseButtons(), gui::kRButton | gui::kShift | gui::kAlt);
    GestureStep both = at(5, 5);
    both.right = true;
    both.middle = true;
    both.control = true;
    driver.gesture({both});
    EXPECT_EQ(context.getMouseButtons(), gui::kLButton | gui::kMButton | gui::kControl);
    driver.swapButtons(false);
    gui::system::swappedMouseButtons = false;
    driver.gesture({at(5, 5)});
    EXPECT_EQ(context.getMouseButtons(), 0);
}

TEST(PointerState, AViewReadsThePointerInItsOwnRectanglesCoordinates) {
    Driver driver;
    auto* frame = new gui::CFrame(CRect(0, 0, 200, 150), nullptr, nullptr);
    auto* box = new gui::CViewContainer(CRect(20, 10, 120, 110), frame);
    frame->addView(box);
    ProbeRecord record;
    auto* probe = new ProbeView(CRect(5, 5, 25, 25), &record);
    box->addView(probe);
    driver.setCursor({32, 24});
    gui::CDrawContext context(frame, nullptr, nullptr);
    CPoint where;
    probe->getMouseLocation(&context, where);
    EXPECT_EQ(where, CPoint(12, 14)) << "the box's coordinates, in which the probe's rectangle is given";
    EXPECT_EQ(context.offset, CPoint(0, 0)) << "the context is given back as it came";
    box->getMouseLocation(&context, where);
    EXPECT_EQ(where, CPoint(32, 24));
    CPoint unchanged(1, 1);
    probe->getMouseLocation(nullptr, unchanged);
    EXPECT_EQ(unchanged, CPoint(1, 1));
    EXPECT_EQ(box->getCurrentView(), probe);
    driver.setCursor({60, 24});
    EXPECT_EQ(box->getCurrentView(), nullptr);
    EXPECT_EQ(frame->getCurrentView(), box);
    frame->forget();
}

}  // namespace
}  // namespace guitest
