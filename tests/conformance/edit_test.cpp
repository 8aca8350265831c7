// Edit-control conformance: the single-line "EDIT" class as a text field inside a plug-in's window.
#include <gtest/gtest.h>

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
    for (char character : characters)
        PostMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 1);
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
        if (GetClassNameA(edit, name, sizeof name) != 0)
            DestroyWindow(edit);
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
    for (int y = 30; y < 46; ++y)
        for (int x = 20; x < 100; ++x)
            ink += at(x, y) != 0x005A5A5Au ? 1 : 0;
    EXPECT_GT(ink, 20) << "the text is drawn";
    DestroyWindow(edit);
    DeleteObject(font);
}

}  // namespace
}  // namespace conformance
