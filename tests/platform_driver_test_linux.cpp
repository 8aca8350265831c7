// The Linux subset's own guarantees: misuse caught, the test driver's input and clock, drags.
#include <gtest/gtest.h>

#include <string>

#include "platform/present/presenter.h"
#include "platform/testing/test_driver.h"
#include "tests/conformance/support.h"

namespace {

using platform::GestureStep;
using platform::testing::Driver;

TEST(PlatformMisuse, HandlesOfTheWrongKindOrAfterDeletionAreRefused) {
    conformance::Canvas canvas(4, 4);
    LOGPEN record{PS_SOLID, {1, 1}, RGB(1, 2, 3)};
    HPEN pen = CreatePenIndirect(&record);
    const RECT rect{0, 0, 2, 2};
    int result = -1;
    EXPECT_DEBUG_DEATH(result = FillRect(canvas.dc, &rect, reinterpret_cast<HBRUSH>(pen)), "not a brush");
    if (result != -1) {
        EXPECT_EQ(result, 0);
    }
    EXPECT_TRUE(DeleteObject(pen));
    HGDIOBJ selected = reinterpret_cast<HGDIOBJ>(1);
    EXPECT_DEBUG_DEATH(selected = SelectObject(canvas.dc, pen), "not a GDI object");
    if (selected != reinterpret_cast<HGDIOBJ>(1)) {
        EXPECT_EQ(selected, nullptr);
    }
    HDC dc = CreateCompatibleDC(nullptr);
    DeleteDC(dc);
    BOOL moved = -1;
    EXPECT_DEBUG_DEATH(moved = MoveToEx(dc, 0, 0, nullptr), "not a device context");
    if (moved != -1) {
        EXPECT_EQ(moved, FALSE);
    }
}

TEST(PlatformMisuse, AnObjectStaysUsableWhileSelectedAfterDeletion) {
    conformance::Canvas canvas(3, 1);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    LOGPEN record{PS_SOLID, {1, 1}, RGB(0, 255, 0)};
    HPEN pen = CreatePenIndirect(&record);
    SelectObject(canvas.dc, pen);
    DeleteObject(pen);
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 3, 0);
    EXPECT_EQ(canvas.at(2, 0), 0x0000FF00u);
    DeleteObject(brush);
}

LRESULT CALLBACK trackingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static std::vector<POINT>* seen = nullptr;
    if (message == WM_USER) {
        seen = reinterpret_cast<std::vector<POINT>*>(lParam);
    }
    if (message == WM_LBUTTONDOWN && seen != nullptr) {
        // A control's tracking loop: poll the button, read the pointer, idle.
        while (GetAsyncKeyState(VK_LBUTTON) < 0) {
            POINT point{};
            GetCursorPos(&point);
            seen->push_back(point);
            Sleep(10);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(PlatformDriver, AGestureIsSeenOneStepPerIterationOfATrackingLoop) {
    Driver driver;
    HWND host = conformance::openHostWindow(100, 100, 50, 50, trackingProcedure);
    std::vector<POINT> seen;
    SendMessageA(host, WM_USER, 0, reinterpret_cast<LPARAM>(&seen));
    GestureStep press{{110, 120}, true};
    GestureStep move{{112, 140}, true};
    GestureStep further{{115, 90}, true, false, false, true};
    GestureStep release{{115, 90}};
    driver.gesture({press, move, further, release});
    driver.pumpMessages();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[0].y, 120);
    EXPECT_EQ(seen[1].y, 140);
    EXPECT_EQ(seen[2].x, 115);
    EXPECT_TRUE(driver.gestureFinished());
    EXPECT_EQ(driver.ticks(), Driver::kStartTicks + 30) << "Sleep moves the virtual clock";
    EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0) << "the release step lifted Shift";
    conformance::closeHostWindow();
}

class CountingDropTarget final : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--references); }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect) override {
        FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium{};
        if (data->GetData(&format, &medium) == S_OK) {
            items = static_cast<int>(DragQueryFileA(static_cast<HDROP>(medium.hGlobal), 0xFFFFFFFF, nullptr, 0));
            ReleaseStgMedium(&medium);
        } else {
            format.cfFormat = CF_TEXT;
            items = data->GetData(&format, &medium) == S_OK ? 1 : 0;
            ReleaseStgMedium(&medium);
        }
        entered = point;
        *effect = DROPEFFECT_MOVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_MOVE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override {
        ++leaves;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD*) override {
        ++drops;
        return S_OK;
    }
    virtual ~CountingDropTarget() = default;

    int references = 0;
    int items = -1;
    int drops = 0;
    int leaves = 0;
    POINTL entered{};
};

TEST(PlatformDriver, DragsReachTheTargetOfTheNearestRegisteredAncestor) {
    Driver driver;
    OleInitialize(nullptr);
    HWND host = conformance::openHostWindow(0, 0, 100, 100);
    HWND child = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, host, nullptr, nullptr, nullptr);
    CountingDropTarget target;
    ASSERT_EQ(RegisterDragDrop(host, &target), S_OK);
    EXPECT_EQ(driver.dragFiles({20, 15}, {"/a.wav", "/b.wav", "/c.wav"}), DROPEFFECT_MOVE);
    EXPECT_EQ(target.items, 3);
    EXPECT_EQ(target.drops, 1);
    EXPECT_EQ(target.entered.x, 20);
    driver.dragText({50, 50}, "440", false);
    EXPECT_EQ(target.items, 1);
    EXPECT_EQ(target.leaves, 1);
    EXPECT_EQ(driver.dragText({500, 500}, "outside"), DROPEFFECT_NONE);
    RevokeDragDrop(host);
    EXPECT_EQ(target.references, 0);
    DestroyWindow(child);
    conformance::closeHostWindow();
    OleUninitialize();
}

TEST(PlatformDriver, KeysAndWheelTurnsArriveAsMessages) {
    Driver driver;
    HWND host = conformance::openHostWindow(0, 0, 100, 100);
    HWND edit = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, host, nullptr, nullptr, nullptr);
    SetFocus(edit);
    driver.typeText("12");
    driver.pressKey(VK_LEFT);
    driver.typeText("3");
    driver.pumpMessages();
    char text[16];
    GetWindowTextA(edit, text, sizeof text);
    EXPECT_STREQ(text, "132");
    driver.turnWheel({20, 15}, -2);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_MOUSEWHEEL, WM_MOUSEWHEEL, PM_REMOVE));
    EXPECT_EQ(message.hwnd, edit);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(message.wParam), -240);
    DestroyWindow(edit);
    conformance::closeHostWindow();
}

}  // namespace

namespace presentation {

struct Report {
    std::string what;
    HWND window;
    HWND nativeParent;
    std::uint32_t firstPixel;
};

class RecordingPresenter final : public platform::Presenter {
public:
    void windowShown(HWND topLevel, HWND nativeParent, const RECT&, const platform::SurfacePixels& pixels) override {
        reports.push_back({"shown " + std::to_string(pixels.width) + "x" + std::to_string(pixels.height), topLevel,
                           nativeParent, pixels.topRow[0]});
    }
    void present(HWND topLevel, const platform::SurfacePixels& pixels, const RECT&) override {
        reports.push_back({"present", topLevel, nullptr, pixels.topRow[pixels.rowStep + 1]});
    }
    void windowDestroyed(HWND topLevel) override { reports.push_back({"destroyed", topLevel, nullptr, 0}); }

    std::vector<Report> reports;
};

TEST(PlatformPresentation, AWindowInsideAHostsNativeWindowIsPresentedAsItsOwnSurface) {
    RecordingPresenter recorder;
    platform::setPresenter(&recorder);
    const auto hostWindow = reinterpret_cast<HWND>(0x5A00001);  // an X11 window id, say
    HWND frame =
        CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 0, 0, 40, 30, hostWindow, nullptr, nullptr, nullptr);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(GetParent(frame), hostWindow);
    HWND inner = CreateWindowExA(0, "Edit", "", WS_CHILD | WS_VISIBLE, 1, 1, 10, 10, frame, nullptr, nullptr, nullptr);
    HDC dc = GetDC(inner);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const RECT all{0, 0, 10, 10};
    FillRect(dc, &all, brush);
    ReleaseDC(inner, dc);
    DestroyWindow(frame);
    platform::setPresenter(nullptr);
    DeleteObject(brush);

    ASSERT_EQ(recorder.reports.size(), 3u) << "one surface for the frame and its child";
    EXPECT_EQ(recorder.reports[0].what, "shown 40x30");
    EXPECT_EQ(recorder.reports[0].window, frame);
    EXPECT_EQ(recorder.reports[0].nativeParent, hostWindow);
    EXPECT_EQ(recorder.reports[1].what, "present");
    EXPECT_EQ(recorder.reports[1].window, frame);
    EXPECT_EQ(recorder.reports[1].firstPixel, 0x00010203u) << "the child drew into the frame's surface";
    EXPECT_EQ(recorder.reports[2].what, "destroyed");
}

}  // namespace presentation
