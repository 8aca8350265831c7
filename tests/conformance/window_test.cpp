// Window-system conformance: geometry, messages, painting, focus, destruction and classes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/conformance/support.h"

namespace conformance {
namespace {

std::vector<std::string> journal;

void note(HWND window, const char* what) {
    char name[64] = "";
    GetWindowTextA(window, name, sizeof name);
    journal.push_back(std::string(name) + " " + what);
}

LRESULT CALLBACK recordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            note(window, "create");
            break;
        case WM_DESTROY:
            note(window, "destroy");
            break;
        case WM_SETFOCUS:
            note(window, "setfocus");
            break;
        case WM_KILLFOCUS:
            note(window, "killfocus");
            break;
        case WM_USER:
            note(window, "user");
            return 42;
        case WM_USER + 1:
            note(window, "destroys itself");
            DestroyWindow(window);
            note(window, "after destroy");  // the handle is gone: no text is read back
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            BeginPaint(window, &paint);
            char text[64];
            std::snprintf(text, sizeof text, "paint %ld,%ld,%ld,%ld", static_cast<long>(paint.rcPaint.left),
                          static_cast<long>(paint.rcPaint.top), static_cast<long>(paint.rcPaint.right),
                          static_cast<long>(paint.rcPaint.bottom));
            note(window, text);
            EndPaint(window, &paint);
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowConformance : public testing::Test {
protected:
    void SetUp() override {
        journal.clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = recordingProcedure;
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        windowClass.lpszClassName = kClass;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        host = openHostWindow(100, 80, 300, 200);
    }
    void TearDown() override {
        // Newest first, so that children go before their parents; some are gone already.
        char name[8];
        for (auto it = made.rbegin(); it != made.rend(); ++it) {
            if (GetClassNameA(*it, name, sizeof name) != 0) {
                DestroyWindow(*it);
            }
        }
        closeHostWindow();
        UnregisterClassA(kClass, nullptr);
    }
    HWND child(const char* name, int x, int y, int width, int height, DWORD style = 0, HWND parent = nullptr) {
        HWND window = CreateWindowExA(0, kClass, name, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                      parent != nullptr ? parent : host, nullptr, nullptr, nullptr);
        made.push_back(window);
        return window;
    }

    static constexpr const char* kClass = "ZelmorConformanceChild";
    HWND host = nullptr;
    std::vector<HWND> made;
};

TEST_F(WindowConformance, ChildWindowsReportTheirGeometry) {
    HWND frame = child("frame", 10, 20, 150, 100, WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(frame, &rect));
    EXPECT_EQ(rect.left, 110);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right, 260);
    EXPECT_EQ(rect.bottom, 200);
    ASSERT_TRUE(GetClientRect(frame, &rect));
    EXPECT_EQ(rect.right, 150);
    EXPECT_EQ(rect.bottom, 100);
    EXPECT_EQ(GetParent(frame), host);
    EXPECT_EQ(GetParent(host), nullptr);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)) & WS_CAPTION, 0u);
    EXPECT_NE(static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE)) & WS_CHILD, 0u);
    char name[64] = "";
    EXPECT_EQ(GetClassNameA(frame, name, sizeof name), static_cast<int>(std::string(kClass).size()));
    EXPECT_STREQ(name, kClass);
    POINT corner{0, 0};
    MapWindowPoints(frame, nullptr, &corner, 1);
    EXPECT_EQ(corner.x, 110);
    EXPECT_EQ(corner.y, 100);
    MapWindowPoints(nullptr, host, &corner, 1);
    EXPECT_EQ(corner.x, 10);
    EXPECT_EQ(corner.y, 20);
    SetWindowPos(frame, nullptr, 0, 0, 120, 90, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    GetWindowRect(frame, &rect);
    EXPECT_EQ(rect.left, 110);
    EXPECT_EQ(rect.right - rect.left, 120);
    EXPECT_EQ(rect.bottom - rect.top, 90);
}

TEST_F(WindowConformance, MessagesAreSentAtOnceAndPostedInOrder) {
    HWND frame = child("frame", 0, 0, 50, 50);
    EXPECT_EQ(journal.front(), "frame create");
    EXPECT_EQ(SendMessageA(frame, WM_USER, 0, 0), 42);
    EXPECT_EQ(journal.back(), "frame user");
    pumpMessages();
    journal.clear();
    PostMessageA(frame, WM_USER + 7, 1, 2);
    PostMessageA(frame, WM_USER + 8, 3, 4);
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_USER + 8, WM_USER + 8, PM_NOREMOVE));
    EXPECT_EQ(message.wParam, 3u);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_USER + 7);
    EXPECT_EQ(message.hwnd, frame);
    EXPECT_EQ(message.lParam, 2);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_USER + 8);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_USER, WM_USER + 100, PM_REMOVE));
}

WNDPROC originalProcedure = nullptr;
LRESULT CALLBACK subclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER) {
        return 7 + CallWindowProcA(originalProcedure, window, message, wParam, lParam);
    }
    return CallWindowProcA(originalProcedure, window, message, wParam, lParam);
}

TEST_F(WindowConformance, SubclassingReplacesTheProcedureAndChainsToTheOldOne) {
    HWND frame = child("frame", 0, 0, 50, 50);
    originalProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&subclassProcedure)));
    EXPECT_EQ(originalProcedure, &recordingProcedure);
    EXPECT_EQ(SendMessageA(frame, WM_USER, 0, 0), 49);
    int value = 5;
    EXPECT_EQ(SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&value)), 0);
    EXPECT_EQ(reinterpret_cast<int*>(GetWindowLongPtrA(frame, GWLP_USERDATA)), &value);
}

TEST_F(WindowConformance, PaintMessagesComeFromInvalidAreasUntilValidated) {
    HWND frame = child("frame", 10, 10, 100, 80);
    RECT update{};
    EXPECT_TRUE(GetUpdateRect(frame, &update, FALSE)) << "a window shown at creation waits to be painted";
    pumpMessages();
    EXPECT_FALSE(GetUpdateRect(frame, &update, FALSE));
    EXPECT_EQ(journal.back(), "frame paint 0,0,100,80");
    journal.clear();
    const RECT first{5, 5, 10, 10};
    const RECT second{20, 30, 25, 40};
    InvalidateRect(frame, &first, FALSE);
    InvalidateRect(frame, &second, FALSE);
    ASSERT_TRUE(GetUpdateRect(frame, &update, FALSE));
    EXPECT_EQ(update.left, 5);
    EXPECT_EQ(update.bottom, 40);
    // Without BeginPaint the message comes again.
    MSG message{};
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
    EXPECT_EQ(message.hwnd, frame);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
    DispatchMessageA(&message);
    EXPECT_EQ(journal.back(), "frame paint 5,5,25,40");
    EXPECT_FALSE(PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE));
    InvalidateRect(frame, nullptr, FALSE);
    UpdateWindow(frame);
    EXPECT_EQ(journal.back(), "frame paint 0,0,100,80");
}

TEST_F(WindowConformance, InvalidatingAParentReachesItsChildrenUnlessItClipsThem) {
    HWND clipping = child("clipping", 0, 0, 100, 100, WS_CLIPCHILDREN);
    HWND plain = child("plain", 100, 0, 100, 100);
    HWND first = child("first", 10, 10, 20, 20, 0, clipping);
    HWND second = child("second", 10, 10, 20, 20, 0, plain);
    pumpMessages();
    InvalidateRect(clipping, nullptr, FALSE);
    InvalidateRect(plain, nullptr, FALSE);
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(first, &update, FALSE));
    ASSERT_TRUE(GetUpdateRect(second, &update, FALSE));
    EXPECT_EQ(update.right, 20);
    pumpMessages();
    // Moving or resizing a window makes it paint again.
    SetWindowPos(plain, nullptr, 0, 0, 120, 90, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    ASSERT_TRUE(GetUpdateRect(plain, &update, FALSE));
    EXPECT_EQ(update.right, 120);
    EXPECT_EQ(update.bottom, 90);
}

TEST_F(WindowConformance, ChildrenDrawIntoTheirOwnPartOfTheWindow) {
    HWND frame = child("frame", 20, 10, 100, 60, WS_CLIPCHILDREN);
    HWND inner = child("inner", 10, 10, 30, 20, 0, frame);
    pumpMessages();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    const RECT everything{-50, -50, 500, 500};
    HDC dc = GetDC(frame);
    FillRect(dc, &everything, red);
    ReleaseDC(frame, dc);
    dc = GetDC(inner);
    FillRect(dc, &everything, blue);
    ReleaseDC(inner, dc);
    const std::vector<std::uint32_t> pixels = windowPixels(host, 300, 200);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * 300 + x)]; };
    EXPECT_EQ(at(20, 10), 0x00FF0000u);
    EXPECT_EQ(at(119, 69), 0x00FF0000u);
    EXPECT_NE(at(120, 70), 0x00FF0000u) << "the frame's context stops at its edges";
    EXPECT_NE(at(19, 9), 0x00FF0000u);
    EXPECT_EQ(at(30, 20), 0x000000FFu);
    EXPECT_EQ(at(59, 39), 0x000000FFu);
    EXPECT_EQ(at(60, 40), 0x00FF0000u);
    // With WS_CLIPCHILDREN the frame's own drawing leaves the child alone.
    dc = GetDC(frame);
    FillRect(dc, &everything, red);
    ReleaseDC(frame, dc);
    EXPECT_EQ(windowPixels(host, 300, 200)[39 * 300 + 59], 0x000000FFu);
    DeleteObject(red);
    DeleteObject(blue);
}

TEST_F(WindowConformance, ABackBufferCompatibleWithTheWindowReachesIt) {
    // A memory bitmap made compatible with the window's context, drawn into and copied to the window.
    HWND frame = child("frame", 30, 40, 60, 50);
    pumpMessages();
    HDC windowDc = GetDC(frame);
    HDC memory = CreateCompatibleDC(windowDc);
    HBITMAP buffer = CreateCompatibleBitmap(windowDc, 60, 50);
    ReleaseDC(frame, windowDc);
    BITMAP record{};
    GetObjectA(buffer, sizeof record, &record);
    EXPECT_EQ(record.bmBitsPixel, 32);
    HGDIOBJ previous = SelectObject(memory, buffer);
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    const RECT part{10, 10, 20, 15};
    FillRect(memory, &part, green);
    windowDc = GetDC(frame);
    BitBlt(windowDc, 0, 0, 60, 50, memory, 0, 0, SRCCOPY);
    ReleaseDC(frame, windowDc);
    const std::vector<std::uint32_t> pixels = windowPixels(host, 300, 200);
    EXPECT_EQ(pixels[(40 + 10) * 300 + 30 + 10], 0x0000C800u);
    EXPECT_EQ(pixels[(40 + 9) * 300 + 30 + 10], 0x00000000u) << "a new compatible bitmap is black";
    // A context made compatible with a memory context that still holds its default bitmap is monochrome.
    HDC plain = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateCompatibleBitmap(plain, 4, 4);
    GetObjectA(mono, sizeof record, &record);
    EXPECT_EQ(record.bmBitsPixel, 1);
    DeleteObject(mono);
    DeleteDC(plain);
    SelectObject(memory, previous);
    DeleteObject(buffer);
    DeleteDC(memory);
    DeleteObject(green);
}

TEST_F(WindowConformance, BringingAWindowToTheTopPutsItAboveItsSiblings) {
    HWND lower = child("lower", 20, 20, 60, 40, WS_CLIPSIBLINGS);
    HWND upper = child("upper", 50, 30, 60, 40, WS_CLIPSIBLINGS);
    pumpMessages();
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    auto fill = [](HWND window, HBRUSH brush) {
        const RECT everything{0, 0, 100, 100};
        HDC dc = GetDC(window);
        FillRect(dc, &everything, brush);
        ReleaseDC(window, dc);
    };
    fill(lower, red);
    fill(upper, blue);
    EXPECT_EQ(windowPixels(host, 300, 200)[40 * 300 + 60], 0x00FF0000u) << "a new child goes below its siblings";
    EXPECT_TRUE(BringWindowToTop(upper));
    fill(lower, red);
    fill(upper, blue);
    EXPECT_EQ(windowPixels(host, 300, 200)[40 * 300 + 60], 0x000000FFu);
    DeleteObject(red);
    DeleteObject(blue);
}

TEST_F(WindowConformance, ErasingUsesTheClassBrush) {
    HWND frame = child("frame", 0, 0, 40, 30);
    pumpMessages();
    Canvas face(1, 1);
    const RECT pixel{0, 0, 1, 1};
    FillRect(face.dc, &pixel, GetSysColorBrush(COLOR_BTNFACE));
    const std::vector<std::uint32_t> pixels = windowPixels(host, 300, 200);
    EXPECT_EQ(pixels[15 * 300 + 20], face.at(0, 0));
    EXPECT_NE(frame, nullptr);
}

TEST_F(WindowConformance, FocusMovesWithKillAndSetMessages) {
    HWND one = child("one", 0, 0, 10, 10);
    HWND two = child("two", 20, 0, 10, 10);
    SetFocus(one);
    journal.clear();
    EXPECT_EQ(SetFocus(two), one);
    EXPECT_EQ(GetFocus(), two);
    ASSERT_EQ(journal.size(), 2u);
    EXPECT_EQ(journal[0], "one killfocus");
    EXPECT_EQ(journal[1], "two setfocus");
    journal.clear();
    EXPECT_EQ(SetFocus(two), two);
    EXPECT_TRUE(journal.empty()) << "focusing the focus window again sends nothing";
}

TEST_F(WindowConformance, AWindowCanDestroyItselfFromItsOwnProcedure) {
    HWND frame = child("frame", 0, 0, 50, 50);
    HWND edit = child("edit", 5, 5, 20, 10, 0, frame);
    SetFocus(edit);
    journal.clear();
    SendMessageA(edit, WM_USER + 1, 0, 0);
    const std::vector<std::string> expected{"edit destroys itself", "edit killfocus", "frame setfocus", "edit destroy",
                                            " after destroy"};
    EXPECT_EQ(journal, expected);
    EXPECT_EQ(GetFocus(), frame) << "the focus goes to the parent";
    char name[8];
    EXPECT_EQ(GetClassNameA(edit, name, sizeof name), 0) << "the handle is no longer valid";
    journal.clear();
    DestroyWindow(frame);
    EXPECT_EQ(journal.front(), "frame killfocus");
}

TEST_F(WindowConformance, ParentsHearOfDestructionBeforeChildren) {
    HWND frame = child("frame", 0, 0, 50, 50);
    child("inner", 0, 0, 10, 10, 0, frame);
    journal.clear();
    EXPECT_TRUE(DestroyWindow(frame));
    const std::vector<std::string> expected{"frame destroy", "inner destroy"};
    EXPECT_EQ(journal, expected);
}

TEST_F(WindowConformance, ClassesCanBeUnregisteredOnlyWithoutWindows) {
    WNDCLASSA again{};
    again.lpfnWndProc = DefWindowProcA;
    again.lpszClassName = kClass;
    EXPECT_EQ(RegisterClassA(&again), 0) << "the name is taken";
    HWND frame = child("frame", 0, 0, 10, 10);
    EXPECT_FALSE(UnregisterClassA(kClass, nullptr));
    DestroyWindow(frame);
    EXPECT_TRUE(UnregisterClassA(kClass, nullptr));
    ASSERT_NE(RegisterClassA(&again), 0);
}

LRESULT CALLBACK wheelHost(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEWHEEL) {
        journal.push_back("host wheel " + std::to_string(GET_WHEEL_DELTA_WPARAM(wParam)));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(WindowConformance, UnhandledWheelTurnsGoToTheParent) {
    HWND wheelWindow = openHostWindow(500, 80, 100, 100, wheelHost);
    HWND frame = child("frame", 0, 0, 10, 10, 0, wheelWindow);
    journal.clear();
    SendMessageA(frame, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), MAKELPARAM(505, 85));
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0], "host wheel -120");
}

TEST_F(WindowConformance, CursorsComeFromTheSystem) {
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    ASSERT_NE(arrow, nullptr);
    ASSERT_NE(wait, nullptr);
    EXPECT_NE(arrow, wait);
    EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), LoadCursorA(nullptr, IDC_HAND));
    HCURSOR before = SetCursor(wait);
    EXPECT_EQ(GetCursor(), wait);
    SetCursor(before);
    EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), 0);
    EXPECT_GT(GetSystemMetrics(SM_CYDLGFRAME), 0);
    EXPECT_GT(GetDoubleClickTime(), 0u);
}

}  // namespace
}  // namespace conformance
