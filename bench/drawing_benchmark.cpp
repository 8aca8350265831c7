// Benchmarks of the drawing the editor does per frame, through the Win32 API of either target.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/win32.h"

namespace {

constexpr int kPanelWidth = 396;
constexpr int kPanelHeight = 550;

struct Surface {
    Surface(int width, int height, bool opaque = false) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* memory = nullptr;
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
        bits = static_cast<std::uint32_t*>(memory);
        dc = CreateCompatibleDC(nullptr);
        previous = SelectObject(dc, bitmap);
        // Premultiplied pixels: opaque, or with every level of alpha.
        for (int i = 0; i < width * height; ++i) {
            const auto value = static_cast<std::uint32_t>(i);
            bits[i] = opaque ? 0xFF000000u | value : (value % 256) * 0x01010101u;
        }
    }
    ~Surface() {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    HBITMAP bitmap = nullptr;
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    std::uint32_t* bits = nullptr;
};

LOGFONTA arial(int pixels) {
    LOGFONTA font{};
    font.lfHeight = -pixels;
    font.lfWeight = FW_BOLD;
    std::strcpy(font.lfFaceName, "Arial");
    return font;
}

// Images drawn with per-pixel alpha: the opaque panel that every full redraw starts with (argument 1),
// and an image with every level of transparency (argument 0), both of the panel's size.
void AlphaBlendPanel(benchmark::State& state) {
    using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
    HMODULE library = LoadLibraryA("msimg32.dll");
    auto alphaBlend =
        reinterpret_cast<AlphaBlendFunction>(reinterpret_cast<void (*)()>(GetProcAddress(library, "AlphaBlend")));
    Surface source(kPanelWidth, kPanelHeight, state.range(0) != 0);
    Surface target(kPanelWidth, kPanelHeight);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (auto _ : state) {
        alphaBlend(target.dc, 0, 0, kPanelWidth, kPanelHeight, source.dc, 0, 0, kPanelWidth, kPanelHeight, blend);
    }
    state.SetItemsProcessed(state.iterations() * kPanelWidth * kPanelHeight);
    FreeLibrary(library);
}
BENCHMARK(AlphaBlendPanel)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// The back buffer copied to the window after an idle redraw.
void BitBltPanel(benchmark::State& state) {
    Surface source(kPanelWidth, kPanelHeight);
    Surface target(kPanelWidth, kPanelHeight);
    for (auto _ : state) {
        BitBlt(target.dc, 0, 0, kPanelWidth, kPanelHeight, source.dc, 0, 0, SRCCOPY);
    }
    state.SetItemsProcessed(state.iterations() * kPanelWidth * kPanelHeight);
}
BENCHMARK(BitBltPanel)->Unit(benchmark::kMicrosecond);

// A value display's text, as the editor redraws it while a slider moves.
void DrawTextCaption(benchmark::State& state) {
    Surface target(200, 40);
    const LOGFONTA logical = arial(11);
    HFONT font = CreateFontIndirectA(&logical);
    SelectObject(target.dc, font);
    SetBkMode(target.dc, TRANSPARENT);
    RECT rect{0, 0, 200, 40};
    for (auto _ : state) {
        DrawTextA(target.dc, "12345 Hz", -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_CENTER);
    }
    SelectObject(target.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}
BENCHMARK(DrawTextCaption)->Unit(benchmark::kMicrosecond);

// Every drawing context makes and deletes a font; with another font of the same face alive (the
// steady state while the editor is open) and without (the first context after a pause).
void CreateFontWhileInUse(benchmark::State& state) {
    const LOGFONTA logical = arial(12);
    HFONT keeper = CreateFontIndirectA(&logical);
    for (auto _ : state) {
        DeleteObject(CreateFontIndirectA(&logical));
    }
    DeleteObject(keeper);
}
BENCHMARK(CreateFontWhileInUse)->Unit(benchmark::kMicrosecond);

void CreateFontCold(benchmark::State& state) {
    const LOGFONTA logical = arial(13);
    for (auto _ : state) {
        DeleteObject(CreateFontIndirectA(&logical));
    }
}
BENCHMARK(CreateFontCold)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
