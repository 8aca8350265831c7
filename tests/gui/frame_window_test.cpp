// The frame's window against the window system: its class, the first-draw rule, paints through the back
// buffer, resizing, the wheel, the modal view, focus and keys, the cursor, and a host that destroys its
// window before closing the editor.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "gui/draw_context.h"
#include "host/dynamic_library.h"
#include "plugin/audio_effect_x.h"
#include "plugin/entry.h"
#include "tests/conformance/support.h"
#include "tests/gui/probe_view.h"
#include "tests/gui/toolkit_harness.h"

namespace guitest {
namespace {

using gui::CFrame;
using gui::CRect;

std::string className(HWND window) {
    char name[128] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string expectedClassName(void* module) {
    char name[100];
    std::snprintf(name, sizeof name, "Plugin%p", module);
    return name;
}

// Whether a window of the class can be made, which is whether the class is registered.
bool classExists(const std::string& name, HWND parent) {
    HWND probe = CreateWindowExA(0, name.c_str(), "", WS_CHILD, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr);
    if (probe == nullptr) {
        return false;
    }
    DestroyWindow(probe);
    return true;
}

// A plain child window between the host's window and the frame, as hosts put one around an editor.
HWND wrapperWindow(HWND parent, int x, int y, int width, int height) {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "ZelmorTestWrapper";
        return RegisterClassA(&windowClass) != 0;
    }();
    static_cast<void>(registered);
    return CreateWindowExA(0, "ZelmorTestWrapper", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width, height,
                           parent, nullptr, nullptr, nullptr);
}

RECT rectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

class FrameWindow : public testing::Test {
protected:
    void SetUp() override { host = conformance::openHostWindow(kHostX, kHostY, kHostWidth, kHostHeight); }
    void TearDown() override { conformance::closeHostWindow(); }
    std::string log;
    TestEditor editor{&log};
    HWND host = nullptr;
};

TEST_F(FrameWindow, TheClassIsNamedAfterTheModuleAndSharedUntilTheLastWindowGoes) {
    auto* first = new CFrame(CRect(0, 0, 100, 80), host, &editor);
    auto* second = new CFrame(CRect(0, 0, 100, 80), host, &editor);
    const std::string name = expectedClassName(hInstance);
    EXPECT_EQ(className(first->getNativeWindow()), name);
    EXPECT_EQ(className(second->getNativeWindow()), name);
    EXPECT_EQ(GetParent(first->getNativeWindow()), host);
    first->forget();
    EXPECT_TRUE(classExists(name, host)) << "the second frame still uses it";
    second->forget();
    EXPECT_FALSE(classExists(name, host)) << "unregistered with the last window";
    auto* third = new CFrame(CRect(0, 0, 100, 80), host, &editor);
    EXPECT_EQ(className(third->getNativeWindow()), name) << "registered again";
    third->forget();
}

TEST_F(FrameWindow, TwoCopiesOfTheLibraryRegisterClassesOfTheirOwn) {
    namespace fs = std::filesystem;
    const fs::path original(ZELMOR_FRAME_MODULE_PATH);
    const fs::path copy = original.parent_path() / ("copy-" + original.filename().string());
    fs::copy_file(original, copy, fs::copy_options::overwrite_existing);
    std::string error;
    void* a = dynamic_library::load(original.string(), error);
    ASSERT_NE(a, nullptr) << error;
    void* b = dynamic_library::load(copy.string(), error);
    ASSERT_NE(b, nullptr) << error;
    using ClassOf = int (*)(void*, char*, int);
    using ModuleOf = void* (*)();
    std::string names[2];
    void* modules[2];
    void* libraries[2] = {a, b};
    for (int i = 0; i < 2; ++i) {
        auto classOf = reinterpret_cast<ClassOf>(dynamic_library::find(libraries[i], "zelmorTestFrameClass"));
        auto moduleOf = reinterpret_cast<ModuleOf>(dynamic_library::find(libraries[i], "zelmorTestModule"));
        ASSERT_NE(classOf, nullptr);
        ASSERT_NE(moduleOf, nullptr);
        char name[128] = "";
        EXPECT_GT(classOf(host, name, sizeof name), 0);
        names[i] = name;
        modules[i] = moduleOf();
    }
    EXPECT_NE(modules[0], modules[1]);
    EXPECT_NE(names[0], names[1]);
    EXPECT_EQ(names[0], expectedClassName(modules[0]));
    EXPECT_EQ(names[1], expectedClassName(modules[1]));
    dynamic_library::unload(b);
    dynamic_library::unload(a);
    fs::remove(copy);
}

TEST_F(FrameWindow, NothingIsDrawnBeforeTheFirstPaintAndPaintsComeThroughTheBackBuffer) {
    auto* frame = new CFrame(CRect(0, 0, 200, 150), host, &editor);
    ProbeRecord record;
    frame->addView(new ProbeView(CRect(10, 10, 60, 40), &record, gui::kRedCColor));
    frame->idle();
    EXPECT_EQ(record.draws, 0) << "idle waits for the first paint";
    conformance::pumpMessages();
    EXPECT_GT(record.draws, 0);
    std::vector<std::uint32_t> window = conformance::windowPixels(frame->getNativeWindow(), 200, 150);
    EXPECT_EQ(window[20 * 200 + 30], 0xFF0000u) << "the view reached the window";
    EXPECT_EQ(window[100 * 200 + 100], 0x000000u) << "the frame's own colour";

    // A mark made in the back buffer alone shows only where the window is painted again, which the
    // frame first redraws into the back buffer itself: paints copy from the back buffer.
    gui::COffscreenContext* buffer = frame->getBackBuffer();
    buffer->setFillColor(gui::CColor{0, 0, 255, 255});
    buffer->fillRect(CRect(99, 99, 200, 150));
    RECT part{150, 100, 200, 150};
    InvalidateRect(frame->getNativeWindow(), &part, FALSE);
    conformance::pumpMessages();
    window = conformance::windowPixels(frame->getNativeWindow(), 200, 150);
    EXPECT_EQ(window[120 * 200 + 120], 0x000000u) << "outside the painted part the window keeps what it showed";
    EXPECT_EQ(window[120 * 200 + 160], 0x000000u) << "the painted part was redrawn before it was copied";
    EXPECT_EQ(frame->getBackBuffer(), buffer) << "one back buffer for every paint";

    const int before = record.draws;
    frame->idle();
    EXPECT_EQ(record.draws, before) << "nothing dirty, nothing drawn";
    frame->invalidate(CRect(0, 0, 10, 10));
    frame->idle();
    EXPECT_EQ(record.draws, before + 1) << "an edge shared with the view counts";
    EXPECT_FALSE(frame->updatesDisabled(true));
    frame->invalidate(CRect(0, 0, 10, 10));
    frame->idle();
    EXPECT_EQ(record.draws, before + 1) << "updates are off";
    EXPECT_TRUE(frame->updatesDisabled(false));
    frame->forget();
}

// A host that can size its window: it answers "sizeWindow" and remembers what it was asked for.
struct SizingHost {
    static std::intptr_t callback(AEffect* /*effect*/, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                  void* ptr, float /*opt*/) {
        if (opcode == audioMasterVersion) {
            return 2400;
        }
        if (opcode == audioMasterCanDo) {
            return ptr != nullptr && std::string(static_cast<const char*>(ptr)) == "sizeWindow" ? 1 : 0;
        }
        if (opcode == audioMasterSizeWindow) {
            asked = std::to_string(index) + "x" + std::to_string(value);
            return 1;
        }
        return 0;
    }
    static inline std::string asked;
};

class SizedEffect : public AudioEffectX {
public:
    SizedEffect() : AudioEffectX(&SizingHost::callback, 1, 1) {}
    void processReplacing(float** /*inputs*/, float** /*outputs*/, std::int32_t /*frames*/) override {}
};

TEST_F(FrameWindow, ResizingGoesThroughTheHostOrAlongTheWindowChain) {
    // Through the host: only the frame's own window changes.
    auto* effect = new SizedEffect;
    auto* sized = new TestEditor(&log, effect);
    auto* frame = new CFrame(CRect(0, 0, 200, 150), host, sized);
    conformance::pumpMessages();
    gui::COffscreenContext* buffer = frame->getBackBuffer();
    EXPECT_FALSE(frame->setSize(200, 150));
    EXPECT_EQ(frame->getBackBuffer(), buffer) << "the same size keeps the back buffer";
    EXPECT_TRUE(frame->setSize(250, 120));
    EXPECT_EQ(SizingHost::asked, "250x120");
    const RECT resized = rectOf(frame->getNativeWindow());
    EXPECT_EQ(resized.right - resized.left, 250);
    EXPECT_EQ(resized.bottom - resized.top, 120);
    EXPECT_EQ(frame->getBackBuffer()->getWidth(), 250);
    frame->forget();
    delete effect;  // and its editor with it

    // Without the host's help: a wrapper with the margins of a dialog frame grows with the frame.
    const int margin = 2 * GetSystemMetrics(SM_CYDLGFRAME);
    HWND wrapper = wrapperWindow(host, 10, 10, 200 + margin, 150 + margin);
    frame = new CFrame(CRect(0, 0, 200, 150), wrapper, &editor);
    EXPECT_TRUE(frame->setSize(180, 100));
    const RECT inner = rectOf(frame->getNativeWindow());
    const RECT outer = rectOf(wrapper);
    EXPECT_EQ(inner.right - inner.left, 180);
    EXPECT_EQ(outer.right - outer.left, 180 + margin);
    EXPECT_EQ(outer.bottom - outer.top, 100 + margin);
    CRect size;
    EXPECT_EQ(frame->getViewSize(size), CRect(0, 0, 180, 100));
    EXPECT_TRUE(frame->isDirty());
    const RECT hostRect = rectOf(host);
    EXPECT_EQ(hostRect.right - hostRect.left, kHostWidth) << "a much larger parent is the host's";
    frame->forget();
    DestroyWindow(wrapper);
}

TEST_F(FrameWindow, ItFindsTheWindowThatHoldsItAndReportsItsPlace) {
    HWND wrapper = wrapperWindow(host, 12, 14, 210, 160);
    auto* frame = new CFrame(CRect(0, 0, 200, 150), wrapper, &editor);
    EXPECT_EQ(frame->getOuterWindow(), wrapper) << "the host's window is more than 60 pixels larger";
    std::int32_t x = 0;
    std::int32_t y = 0;
    EXPECT_TRUE(frame->getPosition(x, y));
    EXPECT_EQ(x, 12);
    EXPECT_EQ(y, 14);
    CRect size;
    EXPECT_TRUE(frame->getSize(size));
    EXPECT_EQ(size, CRect(kHostX + 12, kHostY + 14, kHostX + 12 + 210, kHostY + 14 + 160));
    EXPECT_FALSE(frame->setPosition(1, 1));
    EXPECT_GE(frame->getTicks(), 1u) << "the clock, with an editor";
    editor.setKnobMode(2);
    EXPECT_EQ(frame->getKnobMode(), 2);
    editor.setKnobMode(0);
    frame->forget();
    DestroyWindow(wrapper);
}

// Records the wheel turns it is given.
class WheelProbe : public gui::CView {
public:
    explicit WheelProbe(const CRect& rect) : CView(rect) {}
    using CView::onWheel;
    bool onWheel(gui::CDrawContext* /*context*/, const gui::CPoint& where, float distance) override {
        turns.push_back(distance);
        lastPoint = where;
        return true;
    }
    std::vector<float> turns;
    gui::CPoint lastPoint;
};

TEST_F(FrameWindow, OneNotchOfTheWheelIsOneStepAtThePointInFrameCoordinates) {
    InputScript input;
    auto* frame = new CFrame(CRect(0, 0, 200, 150), host, &editor);
    auto* probe = new WheelProbe(CRect(100, 60, 150, 100));
    frame->addView(probe);
    conformance::pumpMessages();
    input.turnWheel(frame->getNativeWindow(), FrameInHost::screen(120, 70), 1);
    input.turnWheel(frame->getNativeWindow(), FrameInHost::screen(120, 70), -1);
    input.turnWheel(frame->getNativeWindow(), FrameInHost::screen(20, 20), 1);
    EXPECT_EQ(probe->turns, (std::vector<float>{1.0f, -1.0f}));
    EXPECT_EQ(probe->lastPoint, gui::CPoint(120, 70));
    frame->forget();
}

TEST_F(FrameWindow, AModalViewAloneTakesPressesUntilItIsRemoved) {
    auto* frame = new CFrame(CRect(0, 0, 200, 150), host, &editor);
    ProbeRecord underneath;
    ProbeRecord aRecord;
    ProbeRecord bRecord;
    frame->addView(new ProbeView(CRect(0, 0, 200, 150), &underneath));
    auto* a = new ProbeView(CRect(10, 10, 50, 50), &aRecord);
    auto* b = new ProbeView(CRect(60, 10, 100, 50), &bRecord);
    EXPECT_TRUE(frame->setModalView(a));
    EXPECT_FALSE(frame->setModalView(b)) << "one modal view at a time";
    EXPECT_EQ(frame->getModalView(), a);
    EXPECT_TRUE(frame->isChild(a));
    gui::CDrawContext context(frame, nullptr, frame->getNativeWindow());
    gui::CPoint outside(150, 100);
    frame->mouse(&context, outside, gui::kLButton);
    gui::CPoint inside(20, 20);
    frame->mouse(&context, inside, gui::kLButton);
    EXPECT_EQ(underneath.presses, 0) << "a press outside the modal view is dropped";
    EXPECT_EQ(aRecord.presses, 1);
    EXPECT_EQ(frame->getCurrentView(), a);
    EXPECT_FALSE(frame->advanceNextFocusView(nullptr));
    EXPECT_TRUE(frame->setModalView(nullptr));
    EXPECT_FALSE(frame->isChild(a));
    EXPECT_FALSE(aRecord.destroyed) << "removed, not destroyed: the creator still holds it";
    EXPECT_EQ(a->getNbReference(), 1);
    frame->mouse(&context, outside, gui::kLButton);
    EXPECT_EQ(underneath.presses, 1);
    a->forget();
    b->forget();
    frame->forget();
}

// Wants the focus and counts how often it lost it.
class FocusProbe : public ProbeView {
public:
    FocusProbe(const CRect& rect, ProbeRecord* record) : ProbeView(rect, record) { setWantsFocus(true); }
};

TEST_F(FrameWindow, TabMovesTheFocusAndAnyPressEndsIt) {
    auto* frame = new CFrame(CRect(0, 0, 200, 150), host, &editor);
    ProbeRecord first;
    ProbeRecord second;
    auto* one = new FocusProbe(CRect(0, 0, 50, 50), &first);
    auto* two = new FocusProbe(CRect(60, 0, 110, 50), &second);
    frame->addView(one);
    frame->addView(two);
    VstKeyCode tab{0, 2, 0};
    VstKeyCode backTab{0, 2, 1};
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), one);
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), two);
    EXPECT_EQ(first.lostFocus, 1);
    EXPECT_EQ(frame->onKeyDown(backTab), 1);
    EXPECT_EQ(frame->getFocusView(), one);
    gui::CDrawContext context(frame, nullptr, frame->getNativeWindow());
    gui::CPoint where(100, 100);
    frame->mouse(&context, where, gui::kLButton);
    EXPECT_EQ(frame->getFocusView(), nullptr) << "a press anywhere ends the focus";
    EXPECT_EQ(first.lostFocus, 2);
    frame->forget();
}

TEST_F(FrameWindow, CursorTypesPickTheSystemsCursors) {
    auto* frame = new CFrame(CRect(0, 0, 200, 150), host, &editor);
    const HCURSOR before = GetCursor();
    frame->setCursor(gui::kCursorHand);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
    frame->setCursor(gui::kCursorVSize);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENS));
    frame->setCursor(gui::kCursorCopy);
    EXPECT_EQ(GetCursor(), before) << "types without a system cursor give the default";
    frame->setCursor(gui::kCursorWait);
    frame->forget();
    EXPECT_EQ(GetCursor(), before) << "the frame restores the default as it goes";
}

TEST_F(FrameWindow, AHostThatDestroysItsWindowFirstLeavesAFrameThatDoesNothing) {
    HWND wrapper = wrapperWindow(host, 0, 0, 396, 550);
    auto* frame = new CFrame(CRect(0, 0, 396, 550), wrapper, &editor);
    EditorControls controls(frame, nullptr, 0.5f, 0.5f, 0.0f);
    conformance::pumpMessages();
    InputScript input;
    input.prepare(host);
    input.click(FrameInHost::screen(44, 513));
    ASSERT_NE(controls.lowerDisplay->getEditBox(), nullptr);
    log.clear();
    DestroyWindow(wrapper);
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getSystemWindow(), nullptr);
    EXPECT_EQ(frame->getNativeWindow(), nullptr);
    EXPECT_EQ(controls.lowerDisplay->getEditBox(), nullptr) << "the edit box closed with the window";
    EXPECT_EQ(log, "end 3; ");
    EXPECT_FALSE(frame->isDropActive());
    controls.lowerSlider->setValue(0.9f);
    frame->idle();
    EXPECT_FALSE(frame->setSize(100, 100));
    CRect size;
    EXPECT_FALSE(frame->getSize(size));
    std::int32_t x = 0;
    std::int32_t y = 0;
    EXPECT_FALSE(frame->getPosition(x, y));
    frame->forget();
}

}  // namespace
}  // namespace guitest
