// One picture drawn into a child window on both targets: lines, rectangles, text, alpha images and a
// clip. Each run saves it as PNG; the agreement case compares the Linux and Windows pictures.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/conformance/picture_compare.h"
#include "tests/conformance/support.h"

namespace conformance {
namespace {

constexpr int kHostWidth = 240;
constexpr int kHostHeight = 160;
constexpr int kFrameX = 8;
constexpr int kFrameY = 8;

// Where text is drawn, in host coordinates: compared by ink bounds, everything else pixel by pixel.
const std::vector<RECT> kTextAreas = {{18, 78, 222, 108}, {18, 108, 222, 126}, {128, 128, 208, 144}};

HFONT arial(int pixels, bool bold) {
    LOGFONTA font{};
    font.lfHeight = -pixels;
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strcpy(font.lfFaceName, "Arial");
    return CreateFontIndirectA(&font);
}

void drawImages(HDC dc) {
    using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
    HMODULE library = LoadLibraryA("msimg32.dll");
    auto alphaBlend =
        reinterpret_cast<AlphaBlendFunction>(reinterpret_cast<void (*)()>(GetProcAddress(library, "AlphaBlend")));
    auto transparentBlt = reinterpret_cast<TransparentBltFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "TransparentBlt")));
    // A premultiplied disc fading to transparent, bottom-up as images are stored.
    Canvas disc(40, 40, true);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            const int distance2 = (x - 20) * (x - 20) + (y - 20) * (y - 20);
            const std::uint32_t alpha = distance2 >= 400 ? 0 : static_cast<std::uint32_t>(255 - distance2 * 255 / 400);
            const std::uint32_t red = alpha * 230 / 255;
            const std::uint32_t green = alpha * static_cast<std::uint32_t>(x * 6) / 255;
            disc.at(x, y) = (alpha << 24) | (red << 16) | (green << 8) | (alpha * 40 / 255);
        }
    }
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    alphaBlend(dc, 120, 10, 40, 40, disc.dc, 0, 0, 40, 40, blend);
    const BLENDFUNCTION half{AC_SRC_OVER, 0, 128, AC_SRC_ALPHA};
    alphaBlend(dc, 140, 30, 40, 40, disc.dc, 0, 0, 40, 40, half);
    // A checker with a magenta colour key.
    Canvas checker(30, 30);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            checker.at(x, y) = ((x / 5 + y / 5) % 2) != 0 ? 0x00FF00FFu : 0x00206040u;
        }
    }
    transparentBlt(dc, 185, 10, 30, 30, checker.dc, 0, 0, 30, 30, RGB(255, 0, 255));
    FreeLibrary(library);
}

void drawPicture(HDC dc) {
    HBRUSH grey = CreateSolidBrush(RGB(200, 200, 200));
    HBRUSH blue = CreateSolidBrush(RGB(40, 60, 160));
    HBRUSH red = CreateSolidBrush(RGB(220, 30, 30));
    LOGPEN penRecord{PS_SOLID, {1, 1}, RGB(20, 20, 20)};
    HPEN pen = CreatePenIndirect(&penRecord);
    const RECT all{0, 0, kHostWidth - 2 * kFrameX, kHostHeight - 2 * kFrameY};
    FillRect(dc, &all, grey);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    // An outline on the rectangle's outermost pixels and a fill that leaves the top and left edge.
    const POINT outline[] = {{10, 10}, {99, 10}, {99, 59}, {10, 59}, {10, 10}};
    MoveToEx(dc, outline[0].x, outline[0].y, nullptr);
    for (int i = 1; i < 5; ++i) {
        LineTo(dc, outline[i].x, outline[i].y);
    }
    const RECT inside{11, 11, 99, 59};
    FillRect(dc, &inside, blue);
    for (int i = 0; i < 8; ++i) {
        MoveToEx(dc, 20, 50, nullptr);
        LineTo(dc, 30 + i * 9, 15 + i * 3);
    }
    drawImages(dc);

    HFONT big = arial(18, true);
    HFONT small = arial(11, false);
    HGDIOBJ oldFont = SelectObject(dc, big);
    SetTextColor(dc, RGB(30, 30, 30));
    SetBkMode(dc, TRANSPARENT);
    RECT title{10, 70, 214, 100};
    DrawTextA(dc, "Zelmor", -1, &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_CENTER);
    SelectObject(dc, small);
    RECT vendor{10, 100, 214, 118};
    DrawTextA(dc, "Korvane Audio", -1, &vendor, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(90, 90, 90));
    SetBkMode(dc, OPAQUE);
    RECT value{120, 120, 200, 136};
    DrawTextA(dc, "440 Hz", -1, &value, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_RIGHT);
    SetBkMode(dc, TRANSPARENT);

    HRGN clip = CreateRectRgn(10, 124, 60, 140);
    SelectClipRgn(dc, clip);
    DeleteObject(clip);
    FillRect(dc, &all, red);
    SelectClipRgn(dc, nullptr);

    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    DeleteObject(big);
    DeleteObject(small);
    DeleteObject(pen);
    DeleteObject(grey);
    DeleteObject(blue);
    DeleteObject(red);
}

LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        drawPicture(dc);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<std::uint32_t> paintPicture() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = frameProcedure;
    windowClass.lpszClassName = "ZelmorPictureFrame";
    RegisterClassA(&windowClass);
    HWND host = openHostWindow(40, 40, kHostWidth, kHostHeight);
    HWND frame =
        CreateWindowExA(0, "ZelmorPictureFrame", "Window", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, kFrameX, kFrameY,
                        kHostWidth - 2 * kFrameX, kHostHeight - 2 * kFrameY, host, nullptr, nullptr, nullptr);
    pumpMessages();
    std::vector<std::uint32_t> pixels = windowPixels(host, kHostWidth, kHostHeight);
    DestroyWindow(frame);
    closeHostWindow();
    UnregisterClassA("ZelmorPictureFrame", nullptr);
    return pixels;
}

TEST(PictureConformance, TheWindowShowsExactlyWhatWasDrawn) {
    const std::vector<std::uint32_t> pixels = paintPicture();
    savePng(picturePath(std::string("window-") + ZELMOR_PLATFORM_NAME + ".png"), pixels, kHostWidth, kHostHeight);
    auto at = [&](int x, int y) { return pixels[static_cast<std::size_t>((y + kFrameY) * kHostWidth + x + kFrameX)]; };
    EXPECT_EQ(at(0, 0), 0x00C8C8C8u);
    EXPECT_EQ(at(10, 10), 0x00141414u) << "outline corner";
    EXPECT_EQ(at(99, 59), 0x00141414u);
    EXPECT_EQ(at(100, 60), 0x00C8C8C8u);
    EXPECT_EQ(at(50, 40), 0x00283CA0u) << "fill";
    EXPECT_EQ(at(140, 30), 0x00E67828u) << "the disc's centre is opaque";
    EXPECT_EQ(at(185, 10), 0x00206040u) << "checker square";
    EXPECT_EQ(at(190, 10), 0x00C8C8C8u) << "colour key shows the background";
    EXPECT_EQ(at(10, 124), 0x00DC1E1Eu) << "inside the clip";
    EXPECT_EQ(at(60, 124), 0x00C8C8C8u) << "outside the clip";
    EXPECT_EQ(pixels[0], pixelOf(RGB(255, 255, 255))) << "the host's own background";
}

TEST(PictureConformance, LinuxAndWindowsPicturesAgree) {
    conformance::expectAgreesWithOtherTarget(kHostWidth, kHostHeight, kTextAreas, paintPicture);
}

}  // namespace
}  // namespace conformance
