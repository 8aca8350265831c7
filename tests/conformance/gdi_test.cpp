// GDI conformance: default objects, fills, lines, clipping, block transfers and alpha blending.
#include <gtest/gtest.h>

#include "tests/conformance/support.h"

namespace conformance {
namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;

HPEN solidPen(COLORREF colour) {
    LOGPEN pen{PS_SOLID, {1, 1}, colour};
    return CreatePenIndirect(&pen);
}

TEST(GdiConformance, MemoryContextsStartWithTheStockObjects) {
    Canvas canvas(4, 4);
    SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    Canvas other(2, 2);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, other.bitmap), nullptr) << "a bitmap is selected into one context at a time";
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
    HBITMAP mono = CreateBitmap(3, 3, 1, 1, nullptr);
    HGDIOBJ original = SelectObject(dc, mono);
    ASSERT_NE(original, nullptr);
    BITMAP record{};
    ASSERT_EQ(GetObjectA(original, sizeof record, &record), static_cast<int>(sizeof record));
    EXPECT_EQ(record.bmWidth, 1);
    EXPECT_EQ(record.bmBitsPixel, 1);
    EXPECT_EQ(SelectObject(dc, original), mono);
    DeleteDC(dc);
    DeleteObject(mono);
    EXPECT_EQ(canvas.at(0, 0), 0u) << "a new DIB section is zero";
}

TEST(GdiConformance, BitmapsDescribeThemselves) {
    Canvas canvas(7, 3);
    BITMAP record{};
    ASSERT_GT(GetObjectA(canvas.bitmap, sizeof record, &record), 0);
    EXPECT_EQ(record.bmWidth, 7);
    EXPECT_EQ(record.bmHeight, 3);
    EXPECT_EQ(record.bmWidthBytes, 28);
    EXPECT_EQ(record.bmBitsPixel, 32);
    EXPECT_EQ(record.bmBits, canvas.bits);
    HBITMAP mono = CreateBitmap(20, 2, 1, 1, nullptr);
    ASSERT_GT(GetObjectA(mono, sizeof record, &record), 0);
    EXPECT_EQ(record.bmWidthBytes, 4) << "monochrome rows are padded to 16 bits";
    EXPECT_EQ(record.bmBits, nullptr);
    DeleteObject(mono);
    HDC screen = GetDC(nullptr);
    HBITMAP compatible = CreateCompatibleBitmap(screen, 5, 6);
    ReleaseDC(nullptr, screen);
    ASSERT_GT(GetObjectA(compatible, sizeof record, &record), 0);
    EXPECT_EQ(record.bmBitsPixel, 32);
    EXPECT_EQ(record.bmHeight, 6);
    DeleteObject(compatible);
}

TEST(GdiConformance, FillRectLeavesRightAndBottomEdgesAndZeroesAlpha) {
    Canvas canvas(8, 6);
    canvas.fill(0xFF000000u);
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    const RECT rect{1, 1, 5, 4};
    EXPECT_NE(FillRect(canvas.dc, &rect, brush), 0);
    EXPECT_EQ(canvas.at(1, 1), 0x000A141Eu);
    EXPECT_EQ(canvas.at(4, 3), 0x000A141Eu);
    EXPECT_EQ(canvas.at(5, 3), 0xFF000000u);
    EXPECT_EQ(canvas.at(4, 4), 0xFF000000u);
    EXPECT_EQ(canvas.mask(0, 0, 8, 6, 0xFF000000u), "........\n.####...\n.####...\n.####...\n........\n........\n");
    DeleteObject(brush);
}

TEST(GdiConformance, LinesFollowWindowsPixelRules) {
    Canvas canvas(40, 10);
    HPEN pen = solidPen(RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(canvas.dc, pen);
    const int segments[][4] = {{0, 0, 7, 3}, {10, 0, 13, 9}, {20, 5, 14, 2}, {25, 8, 30, 0}, {32, 1, 39, 6}};
    for (const auto& s : segments) {
        MoveToEx(canvas.dc, s[0], s[1], nullptr);
        LineTo(canvas.dc, s[2], s[3]);
    }
    EXPECT_EQ(canvas.at(0, 0), kWhite);
    EXPECT_EQ(canvas.mask(0, 0, 40, 10),
              "##........#.............................\n"
              "..##......#..................#..#.......\n"
              "....##.....#...#.............#...##.....\n"
              "......#....#....##..........#......#....\n"
              "...........#......##.......#........#...\n"
              "............#.......#......#.........##.\n"
              "............#.............#.............\n"
              "............#.............#.............\n"
              ".............#...........#..............\n"
              "........................................\n");
    POINT previous{};
    MoveToEx(canvas.dc, 3, 4, &previous);
    EXPECT_EQ(previous.x, 39);
    EXPECT_EQ(previous.y, 6);
    SelectObject(canvas.dc, old);
    DeleteObject(pen);
}

TEST(GdiConformance, LinesRunTheSameBackwards) {
    // Ties between two pixels are decided by position, not by the direction of drawing.
    Canvas forward(12, 8);
    Canvas backward(12, 8);
    HPEN pen = solidPen(RGB(255, 255, 255));
    SelectObject(forward.dc, pen);
    SelectObject(backward.dc, pen);
    const int lines[][4] = {{1, 1, 9, 5}, {2, 7, 6, 0}, {0, 3, 11, 4}};
    for (const auto& l : lines) {
        MoveToEx(forward.dc, l[0], l[1], nullptr);
        LineTo(forward.dc, l[2], l[3]);
        MoveToEx(backward.dc, l[2], l[3], nullptr);
        LineTo(backward.dc, l[0], l[1]);
    }
    // Apart from the omitted last pixels, the two directions agree.
    EXPECT_EQ(forward.mask(0, 0, 12, 8),
              "............\n"
              ".##..#......\n"
              "...###......\n"
              "#######.....\n"
              "....#.#####.\n"
              "...#........\n"
              "...#........\n"
              "..#.........\n");
    EXPECT_EQ(backward.mask(0, 0, 12, 8),
              "......#.....\n"
              "..#..#......\n"
              "...###......\n"
              ".######.....\n"
              "....#.######\n"
              "...#.....#..\n"
              "...#........\n"
              "............\n");
    SelectObject(forward.dc, GetStockObject(BLACK_PEN));
    SelectObject(backward.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(GdiConformance, NullPenMovesWithoutDrawing) {
    Canvas canvas(6, 6);
    SelectObject(canvas.dc, GetStockObject(NULL_PEN));
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 5, 5);
    EXPECT_EQ(inkBounds(canvas, 0).empty(), true);
}

TEST(GdiConformance, ClipRegionsLimitEveryOperationUntilRemoved) {
    Canvas canvas(10, 10);
    HRGN region = CreateRectRgn(6, 6, 2, 3);  // given backwards: the corners are ordered
    EXPECT_EQ(SelectClipRgn(canvas.dc, region), SIMPLEREGION);
    DeleteObject(region);  // the context keeps its own copy
    HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
    const RECT all{0, 0, 10, 10};
    FillRect(canvas.dc, &all, brush);
    EXPECT_EQ(canvas.mask(0, 0, 10, 10),
              "..........\n..........\n..........\n..####....\n..####....\n..####....\n"
              "..........\n..........\n..........\n..........\n");
    SelectClipRgn(canvas.dc, nullptr);
    const RECT corner{9, 9, 10, 10};
    FillRect(canvas.dc, &corner, brush);
    EXPECT_EQ(canvas.at(9, 9), kWhite);
    DeleteObject(brush);
}

TEST(GdiConformance, BitBltCopiesInvertsAndMasksAllFourBytes) {
    Canvas source(4, 1);
    Canvas target(4, 1);
    const std::uint32_t values[] = {0x80402010u, 0xFF102030u, 0x00000000u, 0x12345678u};
    for (int i = 0; i < 4; ++i) {
        source.at(i, 0) = values[i];
    }
    target.fill(0x00C8C8C8u);
    EXPECT_TRUE(BitBlt(target.dc, 0, 0, 4, 1, source.dc, 0, 0, SRCINVERT));
    EXPECT_EQ(target.at(0, 0), 0x8088E8D8u);
    target.fill(0x0F0F0F0Fu);
    BitBlt(target.dc, 0, 0, 4, 1, source.dc, 0, 0, SRCAND);
    EXPECT_EQ(target.at(3, 0), 0x02040608u);
    BitBlt(target.dc, 1, 0, 3, 1, source.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(target.at(1, 0), 0x80402010u);
    EXPECT_EQ(target.at(3, 0), 0x00000000u);
    EXPECT_EQ(target.at(0, 0), 0x00000000u) << "left of the destination is untouched";
    // Overlapping copies within one bitmap read every pixel before it is overwritten.
    Canvas column(2, 4);
    for (int y = 0; y < 4; ++y) {
        column.at(0, y) = column.at(1, y) = static_cast<std::uint32_t>(y + 1);
    }
    BitBlt(column.dc, 0, 1, 1, 3, column.dc, 0, 0, SRCCOPY);
    BitBlt(column.dc, 1, 0, 1, 3, column.dc, 1, 1, SRCCOPY);
    EXPECT_EQ(column.mask(0, 0, 2, 4), "##\n##\n##\n##\n");
    EXPECT_EQ(column.at(0, 1), 1u);
    EXPECT_EQ(column.at(0, 3), 3u);
    EXPECT_EQ(column.at(1, 0), 2u);
    EXPECT_EQ(column.at(1, 2), 4u);
}

TEST(GdiConformance, MonochromeMasksConvertThroughTheContextColours) {
    // The colour-key fallback: a mask from the key colour, then invert, and, invert.
    Canvas image(3, 1);
    image.at(0, 0) = 0x00FF0000u;
    image.at(1, 0) = 0x00FFFFFFu;  // the key
    image.at(2, 0) = 0x000000FFu;
    HDC maskDc = CreateCompatibleDC(image.dc);
    HBITMAP mask = CreateBitmap(3, 1, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    SetBkColor(image.dc, RGB(255, 255, 255));
    BitBlt(maskDc, 0, 0, 3, 1, image.dc, 0, 0, SRCCOPY);
    Canvas target(3, 1);
    target.fill(0x00123456u);
    SetBkColor(target.dc, RGB(255, 255, 255));
    SetTextColor(target.dc, RGB(0, 0, 0));
    BitBlt(target.dc, 0, 0, 3, 1, image.dc, 0, 0, SRCINVERT);
    BitBlt(target.dc, 0, 0, 3, 1, maskDc, 0, 0, SRCAND);
    BitBlt(target.dc, 0, 0, 3, 1, image.dc, 0, 0, SRCINVERT);
    EXPECT_EQ(target.at(0, 0) & 0xFFFFFFu, 0x00FF0000u);
    EXPECT_EQ(target.at(1, 0) & 0xFFFFFFu, 0x00123456u) << "key-coloured pixels leave the destination";
    EXPECT_EQ(target.at(2, 0) & 0xFFFFFFu, 0x000000FFu);
    SelectObject(maskDc, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDc);
}

TEST(GdiConformance, BottomUpSectionsKeepTheirFirstRowAtTheBottom) {
    Canvas canvas(2, 3, true);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const RECT top{0, 0, 2, 1};
    FillRect(canvas.dc, &top, brush);
    EXPECT_EQ(canvas.bits[2 * 2], 0x00010203u) << "device row 0 is the last row in memory";
    EXPECT_EQ(canvas.bits[0], 0u);
    DeleteObject(brush);
}

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

template <class Function>
Function entryPoint(HMODULE library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// GDI's blend, per channel: rounded division by 255, wrapping when the source is not premultiplied.
std::uint32_t expectedBlend(std::uint32_t source, std::uint32_t destination, std::uint32_t constant, bool perPixel) {
    auto divide = [](std::uint32_t value) { return (value + 127) / 255; };
    const std::uint32_t alpha = constant == 255 ? source >> 24 : divide((source >> 24) * constant);
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const std::uint32_t s = (source >> shift) & 0xFF;
        const std::uint32_t d = (destination >> shift) & 0xFF;
        const std::uint32_t value = perPixel ? (constant == 255 ? s : divide(s * constant)) + divide(d * (255 - alpha))
                                             : divide(s * constant + d * (255 - constant));
        result |= (value & 0xFF) << shift;
    }
    return result;
}

TEST(GdiConformance, AlphaBlendMatchesTheBlendFormulaExactly) {
    HMODULE library = LoadLibraryA("msimg32.dll");
    ASSERT_NE(library, nullptr);
    auto alphaBlend = entryPoint<AlphaBlendFunction>(library, "AlphaBlend");
    ASSERT_NE(alphaBlend, nullptr);
    constexpr int kCount = 256;
    Canvas source(kCount, 1);
    Canvas target(kCount, 1);
    std::uint32_t seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
    for (const BYTE constant : {BYTE{255}, BYTE{128}, BYTE{37}}) {
        for (const bool perPixel : {true, false}) {
            std::vector<std::uint32_t> sources(kCount);
            std::vector<std::uint32_t> destinations(kCount);
            for (int i = 0; i < kCount; ++i) {
                const std::uint32_t a = next() % 256;
                sources[static_cast<std::size_t>(i)] =
                    (a << 24) | ((next() % (a + 1)) << 16) | ((next() % (a + 1)) << 8) | (next() % (a + 1));
                destinations[static_cast<std::size_t>(i)] = next();
                source.at(i, 0) = sources[static_cast<std::size_t>(i)];
                target.at(i, 0) = destinations[static_cast<std::size_t>(i)];
            }
            const BLENDFUNCTION blend{AC_SRC_OVER, 0, constant, static_cast<BYTE>(perPixel ? AC_SRC_ALPHA : 0)};
            ASSERT_TRUE(alphaBlend(target.dc, 0, 0, kCount, 1, source.dc, 0, 0, kCount, 1, blend));
            for (int i = 0; i < kCount; ++i) {
                ASSERT_EQ(target.at(i, 0), expectedBlend(sources[static_cast<std::size_t>(i)],
                                                         destinations[static_cast<std::size_t>(i)], constant, perPixel))
                    << "pixel " << i << ", constant alpha " << int{constant} << ", per-pixel " << perPixel;
            }
        }
    }
    // A source rectangle reaching outside the source fails and draws nothing.
    target.fill(0);
    const BLENDFUNCTION opaque{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_FALSE(alphaBlend(target.dc, 0, 0, 4, 1, source.dc, kCount - 2, 0, 4, 1, opaque));
    EXPECT_EQ(target.at(0, 0), 0u);
    FreeLibrary(library);
}

TEST(GdiConformance, TransparentBltSkipsTheKeyColour) {
    HMODULE library = LoadLibraryA("msimg32.dll");
    auto transparentBlt = entryPoint<TransparentBltFunction>(library, "TransparentBlt");
    ASSERT_NE(transparentBlt, nullptr);
    Canvas source(4, 2);
    source.fill(0x00FF00FFu);
    source.at(1, 0) = 0x00102030u;
    source.at(2, 1) = 0xAA0000FFu;
    Canvas target(6, 3);
    target.fill(0x00777777u);
    ASSERT_TRUE(transparentBlt(target.dc, 1, 1, 4, 2, source.dc, 0, 0, 4, 2, RGB(255, 0, 255)));
    EXPECT_EQ(target.mask(0, 0, 6, 3, 0x00777777u), "......\n..#...\n...#..\n");
    EXPECT_EQ(target.at(2, 1) & 0xFFFFFFu, 0x00102030u);
    EXPECT_EQ(target.at(3, 2) & 0xFFFFFFu, 0x000000FFu);
    FreeLibrary(library);
}

TEST(GdiConformance, TheVersionRecordNamesTheNtFamily) {
    OSVERSIONINFOEXA version{};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version)));
    EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_GE(version.dwMajorVersion, 5u);
    OSVERSIONINFOA wrongSize{};
    wrongSize.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&wrongSize));
}

}  // namespace
}  // namespace conformance
