// The editor's life as hosts lead it: opened twice, closed or idled from inside a gesture, opened and
// closed hundreds of times while audio and automation run, and built without its images.
#include <gtest/gtest.h>

#include "tests/editor/editor_cycles.h"
#include "tests/editor/editor_host.h"
#include "tests/editor/gesture_record.h"

namespace editortest {
namespace {

std::vector<guitest::Step> longDrag() {
    std::vector<guitest::Step> steps;
    for (int y = 440; y >= 260; y -= 10) {
        steps.push_back(at(44, y));
    }
    steps.push_back(at(44, 260, false));
    return steps;
}

TEST(EditorLifecycle, ASecondOpenWithoutACloseLeavesOneWindow) {
    EditorHost host;
    ASSERT_EQ(host.open(), 1);
    const std::size_t windows = host.liveWindows();
    HWND first = host.frameWindow();
    ASSERT_EQ(host.open(), 1);
    EXPECT_NE(host.frameWindow(), nullptr);
    EXPECT_EQ(host.liveWindows(), windows) << "the first frame went";
    EXPECT_NE(host.frameWindow(), first);
    host.close();
    EXPECT_EQ(host.frameWindow(), nullptr);
    host.close();  // a close without an open
    EXPECT_EQ(host.frameWindow(), nullptr);
}

TEST(EditorLifecycle, TheHostMayCloseTheEditorInsideAGesture) {
    EditorHost host;
    ASSERT_EQ(host.open(), 1);
    host.idle();
    host.effect().clearCalls();
    int idles = 0;
    host.onHostIdle = [&] {
        ++idles;
        if (idles == 1) {
            host.effect().dispatch(effEditIdle);  // nested: does nothing
            host.effect().dispatch(effEditClose);
            host.effect().dispatch(effEditIdle);
        }
    };
    host.drag(longDrag());
    host.onHostIdle = nullptr;
    EXPECT_GE(idles, 1);
    EXPECT_EQ(host.frameWindow(), nullptr) << "the frame went once the gesture had unwound";
    std::vector<std::int32_t> bracket;
    for (const HostCall& call : host.effect().calls()) {
        if (call.opcode == audioMasterBeginEdit || call.opcode == audioMasterEndEdit) {
            bracket.push_back(call.opcode);
        }
    }
    EXPECT_EQ(bracket, (std::vector<std::int32_t>{audioMasterBeginEdit, audioMasterEndEdit}));
    // The editor opens again as if nothing had happened.
    ASSERT_EQ(host.open(), 1);
    host.idle();
    EXPECT_NE(host.frameWindow(), nullptr);
}

TEST(EditorLifecycle, TheHostMayCloseTheEditorWhenItHearsAutomation) {
    EditorHost host;
    auto closeOnce = [&host] {
        host.onAutomate = [&host] {
            host.onAutomate = nullptr;
            host.effect().dispatch(effEditClose);
        };
    };
    auto reopen = [&host] {
        ASSERT_EQ(host.frameWindow(), nullptr);
        ASSERT_EQ(host.open(), 1);
        host.idle();
    };
    reopen();
    closeOnce();
    host.turnWheel(44, 300, 1);  // through the window procedure
    reopen();
    host.drag({at(44, 400), at(44, 400, false)});
    closeOnce();
    EXPECT_EQ(host.effect().dispatch(effEditKeyDown, 0, 12), 1);  // a key the host forwards
    reopen();
    host.click(44, 513);
    host.typeText("700");
    closeOnce();
    host.pressKey(VK_RETURN);  // through the edit box's procedure
    EXPECT_FLOAT_EQ(host.effect().getParameter(0), 0.116045006f);
    reopen();
}

TEST(EditorLifecycle, TheHostMayReopenTheEditorInsideAGesture) {
    EditorHost host;
    ASSERT_EQ(host.open(), 1);
    host.idle();
    const std::size_t windows = host.liveWindows();
    bool reopened = false;
    host.onHostIdle = [&] {
        if (!reopened) {
            reopened = true;
            host.effect().dispatch(effEditOpen, 0, 0, host.parent());
        }
    };
    host.drag(longDrag());
    host.onHostIdle = nullptr;
    host.idle();
    EXPECT_TRUE(reopened);
    EXPECT_NE(host.frameWindow(), nullptr);
    EXPECT_EQ(host.liveWindows(), windows);
}

TEST(EditorLifecycle, OpensDrawsAndClosesWithoutItsImages) {
    EditorHost host(Build::WithoutImages);
    ERect* rect = nullptr;
    ASSERT_EQ(host.effect().dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->bottom, 550) << "the panel's size stands even without the panel";
    EXPECT_EQ(rect->right, 396);
    ASSERT_EQ(host.open(), 1);
    host.idle();
    host.effect().setParameter(0, 0.3f);
    host.idle();
    EXPECT_NE(host.frameWindow(), nullptr);
    const Pixels pixels = host.pixels();
    // The displays' rectangles come from the track's size, which is nothing now: they sit higher.
    EXPECT_EQ(pixels[static_cast<std::size_t>(236 * kWidth + 21)], 0x5A5A5Au) << "the displays still draw";
    host.drag({at(44, 400), at(44, 380), at(44, 380, false)});
    host.close();
    EXPECT_EQ(host.frameWindow(), nullptr);
}

TEST(EditorLifecycle, OpenAndClose500TimesWhileAudioAndAutomationRun) {
    EditorHost host;
    const Resources before = resourcesOf(host);
    runCycles(host, 500);
    host.pump();
    expectSameResources(before, resourcesOf(host));
}

}  // namespace
}  // namespace editortest
