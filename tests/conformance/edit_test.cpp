// Edit-control conformance: the single-line "EDIT" class as a text field inside a plug-in's window.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "tests/conformance/support.h"

namespace conformance {
namespace {

int colourQueries = 0;
HWND colouredEdit = nullptr;
HBRUSH editBrush = nullptr;

LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLOREDIT) {
        ++colourQueries;
        colouredEdit = reinterpret_cast<HWND>(lParam);
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(255, 255, 255));
        SetBkColor(dc, RGB(90, 90, 90));
        return reinterpret_cast<LRESULT>(editBrush);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string textOf(HWND window) {
    char text[300] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void type(HWND edit, const std::string& characters) {
    for (char character : characters) {
        PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 1);
    }
    pumpMessages();
}

class EditConformance : public testing::Test {
protected:
    void SetUp() override {
        editBrush = CreateSolidBrush(RGB(90, 90, 90));
        colourQueries = 0;
        host = openHostWindow(50, 50, 200, 100, parentProcedure);
        edit = CreateWindowExA(0, "EDIT", "440 Hz", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_CENTER, 20, 30, 80, 16,
                               host, nullptr, nullptr, nullptr);
        ASSERT_NE(edit, nullptr);
    }
    void TearDown() override {
        char name[8];
        if (GetClassNameA(edit, name, sizeof name) != 0) {
            DestroyWindow(edit);
        }
        closeHostWindow();
        DeleteObject(editBrush);
    }
    HWND host = nullptr;
    HWND edit = nullptr;
};

TEST_F(EditConformance, ItClaimsCharactersArrowsAndSelection) {
    EXPECT_EQ(SendMessageA(edit, WM_GETDLGCODE, 0, 0), DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS);
    char name[16] = "";
    GetClassNameA(edit, name, sizeof name);
    EXPECT_STREQ(name, "Edit");
}

TEST_F(EditConformance, TypingReplacesTheSelection) {
    EXPECT_EQ(textOf(edit), "440 Hz");
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    type(edit, "1000");
    EXPECT_EQ(textOf(edit), "1000");
    type(edit, "\b5");
    EXPECT_EQ(textOf(edit), "1005");
    type(edit, "\r\t");
    EXPECT_EQ(textOf(edit), "1005") << "Return and Tab insert nothing in a single-line field";
    SetWindowTextA(edit, "abc");
    EXPECT_EQ(textOf(edit), "abc");
    char small[3];
    EXPECT_EQ(GetWindowTextA(edit, small, sizeof small), 2);
    EXPECT_STREQ(small, "ab");
}

TEST_F(EditConformance, TheLimitStopsTyping) {
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_LIMITTEXT, 5, 0);
    type(edit, "1234567");
    EXPECT_EQ(textOf(edit), "12345");
    SendMessageA(edit, EM_SETSEL, 0, -1);
    type(edit, "9");
    EXPECT_EQ(textOf(edit), "9") << "a character that replaces the selection fits again";
}

WNDPROC editProcedure = nullptr;
std::string taken;
HWND focusDuringLoss = nullptr;

// A text field's procedure: on Return or on losing the focus it takes the text and destroys the field
// from inside its own procedure, then passes the message on to the field's previous procedure.
LRESULT CALLBACK closingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool closing = message == WM_KILLFOCUS || (message == WM_KEYDOWN && wParam == VK_RETURN);
    if (closing && taken.empty()) {
        focusDuringLoss = GetFocus();
        taken = textOf(window);
        DestroyWindow(window);
    }
    return CallWindowProcA(editProcedure, window, message, wParam, lParam);
}

TEST_F(EditConformance, AFieldDestroyedByItsOwnReturnKeyLeavesTheFocusWithItsParent) {
    editProcedure =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&closingProcedure)));
    taken.clear();
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    type(edit, "2500");
    PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageA(edit, WM_CHAR, '\r', 1);
    PostMessageA(edit, WM_KEYUP, VK_RETURN, 1);
    pumpMessages();
    EXPECT_EQ(taken, "2500");
    EXPECT_EQ(GetFocus(), host);
    char name[8];
    EXPECT_EQ(GetClassNameA(edit, name, sizeof name), 0);
}

TEST_F(EditConformance, AFieldDestroyedWhileLosingTheFocusLetsTheFocusMoveOn) {
    HWND other =
        CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 120, 30, 40, 16, host, nullptr, nullptr, nullptr);
    editProcedure =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&closingProcedure)));
    taken.clear();
    SetFocus(edit);
    SetFocus(other);
    EXPECT_EQ(taken, "440 Hz");
    EXPECT_EQ(focusDuringLoss, other) << "the focus has already moved when the loss is reported";
    EXPECT_EQ(GetFocus(), other);
    DestroyWindow(other);
}

TEST_F(EditConformance, PaintingAsksTheParentForColours) {
    LOGFONTA logical{};
    logical.lfHeight = -11;
    std::strcpy(logical.lfFaceName, "Arial");
    HFONT font = CreateFontIndirectA(&logical);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    pumpMessages();
    EXPECT_GT(colourQueries, 0);
    EXPECT_EQ(colouredEdit, edit);
    const std::vector<std::uint32_t> pixels = windowPixels(host, 200, 100);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * 200 + x)]; };
    EXPECT_EQ(at(21, 44), 0x005A5A5Au) << "the background is the parent's brush";
    EXPECT_EQ(at(98, 31), 0x005A5A5Au);
    int ink = 0;
    for (int y = 30; y < 46; ++y) {
        for (int x = 20; x < 100; ++x) {
            ink += at(x, y) != 0x005A5A5Au ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 20) << "the text is drawn";
    Bounds bounds{200, 100, 0, 0};
    for (int y = 30; y < 46; ++y) {
        for (int x = 20; x < 100; ++x) {
            if (at(x, y) != 0x005A5A5Au) {
                bounds.left = std::min(bounds.left, x);
                bounds.top = std::min(bounds.top, y);
                bounds.right = std::max(bounds.right, x + 1);
                bounds.bottom = std::max(bounds.bottom, y + 1);
            }
        }
    }
    // "440 Hz" in Arial 11, centred, at the top of the field (as measured on Windows), within the text
    // tolerance of the text tests.
    EXPECT_NEAR(bounds.left, 42, 2);
    EXPECT_NEAR(bounds.top, 32, 2);
    EXPECT_NEAR(bounds.right, 76, 2);
    EXPECT_NEAR(bounds.bottom, 40, 2);
    DestroyWindow(edit);
    DeleteObject(font);
}

}  // namespace
}  // namespace conformance
