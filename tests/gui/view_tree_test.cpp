// The view tree's rules: ownership by reference count, hit testing, mouse and key routing, dirty
// propagation, type questions and focus.
#include <gtest/gtest.h>

#include <memory>

#include "gui/bitmap.h"
#include "gui/frame.h"
#include "tests/gui/probe_view.h"

namespace guitest {
namespace {

using gui::CFrame;
using gui::CPoint;
using gui::CRect;
using gui::CView;
using gui::CViewContainer;

struct Tree {
    Tree() : frame(new CFrame(CRect(0, 0, 200, 150), nullptr, nullptr)) {}
    ~Tree() { frame->forget(); }
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;
    CFrame* frame;
};

TEST(ViewGeometry, RectanglesOrderBoundAndOverlapAsViewsNeed) {
    const CRect negative(0, 0, -20, 10);
    EXPECT_EQ(negative, CRect(-20, 0, 0, 10));
    CRect disjoint(0, 0, 10, 10);
    disjoint.bound(CRect(20, 20, 30, 30));
    EXPECT_TRUE(disjoint.isEmpty());
    EXPECT_GE(disjoint.right, disjoint.left);
    EXPECT_GE(disjoint.bottom, disjoint.top);
    EXPECT_TRUE(CRect(0, 0, 10, 10).overlaps(CRect(10, 10, 20, 20))) << "shared edges overlap";
    EXPECT_FALSE(CRect(0, 0, 10, 10).overlaps(CRect(11, 0, 20, 10)));
    EXPECT_TRUE(CPoint(10, 10).isInside(CRect(0, 0, 10, 10)));
    EXPECT_EQ(gui::kRedCColor.colorRef(), 0x0000FFu);
}

TEST(ViewOwnership, RemovingWithForgetDestroysWithoutItKeepsTheCreatorsReference) {
    Tree tree;
    ProbeRecord first;
    ProbeRecord second;
    auto* doomed = new ProbeView(CRect(0, 0, 10, 10), &first);
    auto* kept = new ProbeView(CRect(0, 0, 10, 10), &second);
    tree.frame->addView(doomed);
    tree.frame->addView(kept);
    EXPECT_EQ(kept->getNbReference(), 2) << "the creator's reference and the list's";
    tree.frame->removeView(doomed, true);
    EXPECT_TRUE(first.destroyed);
    tree.frame->removeView(kept, false);
    EXPECT_FALSE(second.destroyed);
    EXPECT_EQ(kept->getNbReference(), 1);
    EXPECT_EQ(tree.frame->getNbViews(), 0);
    kept->forget();
    EXPECT_TRUE(second.destroyed);
}

TEST(ViewOwnership, TheListKeepsItsOrderThroughRemovalsAndDestructionFreesTheRest) {
    ProbeRecord records[3];
    {
        Tree tree;
        CView* views[3];
        for (int i = 0; i < 3; ++i) {
            views[i] = new ProbeView(CRect(0, 0, 10, 10), &records[i]);
            tree.frame->addView(views[i]);
        }
        tree.frame->removeView(views[1], true);
        EXPECT_EQ(tree.frame->getView(0), views[0]);
        EXPECT_EQ(tree.frame->getView(1), views[2]);
        EXPECT_EQ(tree.frame->getView(2), nullptr);
        EXPECT_EQ(tree.frame->getView(-1), nullptr);
        EXPECT_FALSE(tree.frame->isChild(views[1]));
        tree.frame->addView(nullptr);
        EXPECT_EQ(tree.frame->getNbViews(), 2);
        EXPECT_EQ(views[2]->getFrame(), tree.frame);
        EXPECT_EQ(views[2]->getParentView(), tree.frame);
    }
    for (const ProbeRecord& record : records) {
        EXPECT_TRUE(record.destroyed);
    }
}

TEST(ViewOwnership, SettingTheBackgroundAViewAlreadyHoldsKeepsIt) {
    Tree tree;
    auto* bitmap = new gui::CBitmap(999);  // no such resource: an empty image is enough here
    tree.frame->setBackground(bitmap);
    bitmap->forget();
    tree.frame->setBackground(bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 1);
    EXPECT_EQ(tree.frame->getBackground(), bitmap);
}

TEST(MouseRouting, BoundaryPixelsReachTheChildAndTheLastAddedWins) {
    Tree tree;
    ProbeRecord under;
    ProbeRecord over;
    tree.frame->addView(new ProbeView(CRect(10, 10, 60, 40), &under));
    tree.frame->addView(new ProbeView(CRect(50, 30, 90, 70), &over));
    CPoint corner(60, 40);  // the right and bottom edge of the first view, inside the second
    tree.frame->mouse(nullptr, corner, gui::kLButton);
    EXPECT_EQ(over.presses, 1);
    EXPECT_EQ(over.lastPress, CPoint(60, 40)) << "a child hears points in the coordinates of its own rectangle";
    CPoint edge(60, 20);
    tree.frame->mouse(nullptr, edge, gui::kLButton);
    EXPECT_EQ(under.presses, 1) << "x == right belongs to the view";
    CPoint outside(91, 20);
    tree.frame->mouse(nullptr, outside, gui::kLButton);
    EXPECT_EQ(under.presses + over.presses, 2);
}

TEST(MouseRouting, ADisabledChildIsSkippedAndTheOneBelowTakesThePress) {
    Tree tree;
    ProbeRecord below;
    ProbeRecord disabled;
    tree.frame->addView(new ProbeView(CRect(0, 0, 100, 100), &below));
    auto* markings = new ProbeView(CRect(0, 0, 200, 150), &disabled);
    markings->setMouseEnabled(false);
    tree.frame->addView(markings);
    CPoint where(20, 20);
    tree.frame->mouse(nullptr, where, gui::kLButton);
    EXPECT_EQ(disabled.presses, 0);
    EXPECT_EQ(below.presses, 1);
    EXPECT_EQ(tree.frame->getViewAt(where), markings) << "the hit search itself ignores the mouse switch";
}

TEST(MouseRouting, NestedContainersPassLocalPointsAndDeepSearchFindsTheLeaf) {
    Tree tree;
    auto* outer = new CViewContainer(CRect(20, 10, 120, 110), tree.frame);
    tree.frame->addView(outer);
    ProbeRecord leaf;
    auto* probe = new ProbeView(CRect(5, 5, 25, 25), &leaf);
    outer->addView(probe);
    CPoint where(30, 20);
    tree.frame->mouse(nullptr, where, gui::kLButton);
    EXPECT_EQ(leaf.lastPress, CPoint(10, 10));
    EXPECT_EQ(tree.frame->getViewAt(where, false), outer);
    EXPECT_EQ(tree.frame->getViewAt(where, true), probe);
    CPoint local(0, 0);
    probe->localToFrame(local);
    EXPECT_EQ(local, CPoint(20, 10));
    probe->frameToLocal(local);
    EXPECT_EQ(local, CPoint(0, 0));
    CViewContainer orphan(CRect(0, 0, 50, 50));
    EXPECT_EQ(orphan.getViewAt(CPoint(1, 1)), nullptr) << "no frame, no answer";
}

TEST(DragRouting, TheViewUnderTheDragHearsEnterMoveLeaveAndDropInLocalPoints) {
    Tree tree;
    auto* box = new CViewContainer(CRect(100, 50, 200, 150), tree.frame);
    tree.frame->addView(box);
    std::string events;
    box->addView(new DragView(CRect(0, 0, 50, 100), &events, 'A'));
    box->addView(new DragView(CRect(50, 0, 100, 100), &events, 'B'));
    box->onDragEnter(nullptr, nullptr, CPoint(110, 60));
    box->onDragMove(nullptr, nullptr, CPoint(120, 60));
    box->onDragMove(nullptr, nullptr, CPoint(170, 60));
    EXPECT_TRUE(box->onDrop(nullptr, nullptr, CPoint(180, 70)));
    EXPECT_EQ(events, "Ae10,10 Am20,10 Al70,10 Be70,10 Bd80,20 Bl80,20 ");
    events.clear();
    box->onDragEnter(nullptr, nullptr, CPoint(110, 60));
    box->onDragLeave(nullptr, nullptr, CPoint(300, 60));
    EXPECT_EQ(events, "Ae10,10 Al200,10 ");
    EXPECT_FALSE(box->onDrop(nullptr, nullptr, CPoint(300, 300))) << "nothing under the point";
}

TEST(KeyRouting, TheLastChildIsAskedFirstAndItsAnswerEndsTheSearch) {
    Tree tree;
    int firstAsked = 0;
    int lastAsked = 0;
    tree.frame->addView(new KeyView(7, &firstAsked));
    tree.frame->addView(new KeyView(1, &lastAsked));
    VstKeyCode key{0, 2, 0};
    // The container's routing; the frame itself gives keys to its focus and modal views only.
    EXPECT_EQ(tree.frame->CViewContainer::onKeyDown(key), 1);
    EXPECT_EQ(firstAsked, 0);
    EXPECT_EQ(tree.frame->CViewContainer::onKeyUp(key), -1);
}

TEST(ViewTypes, ContainersAnswerOnlyTheSharedIdentifierAndTheirClassNames) {
    Tree tree;
    const char sameCharacters[] = "kMsgCheckIfViewContainer";
    EXPECT_EQ(tree.frame->notify(nullptr, gui::kMsgCheckIfViewContainer), gui::kMessageNotified);
    EXPECT_EQ(tree.frame->notify(nullptr, sameCharacters), gui::kMessageUnknown);
    CView plain(CRect(0, 0, 1, 1));
    EXPECT_EQ(plain.notify(nullptr, gui::kMsgCheckIfViewContainer), gui::kMessageUnknown);
    EXPECT_TRUE(tree.frame->isTypeOf("CFrame"));
    EXPECT_TRUE(tree.frame->isTypeOf("CViewContainer"));
    EXPECT_TRUE(tree.frame->isTypeOf("CView"));
    EXPECT_FALSE(plain.isTypeOf("CViewContainer"));
    EXPECT_FALSE(plain.isTypeOf(nullptr));
}

TEST(DirtyViews, ADirtyChildOutsideItsContainerDoesNotMakeItDirty) {
    Tree tree;
    auto* container = new CViewContainer(CRect(0, 0, 100, 100), tree.frame);
    tree.frame->addView(container);
    ProbeRecord record;
    auto* outside = new ProbeView(CRect(100, 0, 140, 40), &record);
    container->addView(outside);
    container->setDirty(false);
    EXPECT_TRUE(outside->isDirty());
    EXPECT_FALSE(container->isDirty()) << "the child starts at the container's width";
    CRect inside(99, 0, 140, 40);
    outside->setViewSize(inside);
    EXPECT_TRUE(container->isDirty());
}

TEST(FocusViews, TabbingVisitsViewsThatWantFocusAndRemovalClearsTheFocus) {
    Tree tree;
    ProbeRecord records[3];
    CView* views[3];
    for (int i = 0; i < 3; ++i) {
        views[i] = new ProbeView(CRect(0, 0, 10, 10), &records[i]);
        views[i]->setWantsFocus(i != 1);
        tree.frame->addView(views[i]);
    }
    EXPECT_TRUE(tree.frame->advanceNextFocusView(nullptr));
    EXPECT_EQ(tree.frame->getFocusView(), views[0]);
    EXPECT_TRUE(tree.frame->advanceNextFocusView(views[0]));
    EXPECT_EQ(tree.frame->getFocusView(), views[2]);
    EXPECT_EQ(records[0].lostFocus, 1);
    EXPECT_FALSE(tree.frame->advanceNextFocusView(views[2])) << "nothing after the last";
    EXPECT_TRUE(tree.frame->advanceNextFocusView(views[2], true));
    EXPECT_EQ(tree.frame->getFocusView(), views[0]);
    tree.frame->removeView(views[0], true);
    EXPECT_EQ(tree.frame->getFocusView(), nullptr);
    tree.frame->setFocusView(views[2]);
    tree.frame->removeAll(true);
    EXPECT_EQ(tree.frame->getFocusView(), nullptr) << "the focus view went with the list";
    EXPECT_TRUE(records[2].destroyed);
}

}  // namespace
}  // namespace guitest
