// Fuzzes the Win32 subset's DrawTextA on memory device contexts: any text, length, format, rectangle,
// clip region, font and background mode. Nothing may be drawn outside the rectangle and the clip region
// unless DT_NOCLIP lifts the rectangle.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 32;
constexpr std::uint32_t kUntouched = 0x00123456;

struct Canvas {
    HDC context = nullptr;
    HBITMAP colour = nullptr;
    std::uint32_t* pixels = nullptr;  // bottom-up rows of the colour bitmap
    HBITMAP monochrome = nullptr;
    std::vector<HFONT> fonts;
};

HFONT makeFont(LONG height, LONG weight, BYTE italic, BYTE underline, const char* face) {
    LOGFONTA font{};
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfItalic = italic;
    font.lfUnderline = underline;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

// Opening faces renders every glyph: the fonts are made once, for the whole run.
Canvas& canvas() {
    static Canvas made = [] {
        Canvas c;
        c.context = CreateCompatibleDC(nullptr);
        BITMAPINFO header{};
        header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        header.bmiHeader.biWidth = kWidth;
        header.bmiHeader.biHeight = kHeight;
        header.bmiHeader.biPlanes = 1;
        header.bmiHeader.biBitCount = 32;
        header.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        c.colour = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
        c.pixels = static_cast<std::uint32_t*>(bits);
        c.monochrome = CreateBitmap(kWidth, kHeight, 1, 1, nullptr);
        c.fonts = {makeFont(-12, 400, 0, 0, "Arial"),
                   makeFont(16, 700, 1, 1, "Liberation Sans"),
                   makeFont(0, 0, 0, 0, ""),
                   makeFont(-40, 400, 0, 1, "Courier New"),
                   makeFont(-1, 900, 1, 0, "No Such Face"),
                   makeFont(9, 100, 0, 0, "Liberation Serif")};
        if (c.context == nullptr || c.colour == nullptr || c.pixels == nullptr || c.monochrome == nullptr) {
            std::fprintf(stderr, "no memory device context to draw into\n");
            std::abort();
        }
        return c;
    }();
    return made;
}

int coordinate(FuzzedDataProvider& input) {
    return input.ConsumeBool() ? input.ConsumeIntegralInRange(-80, 160) : input.ConsumeIntegral<int>();
}

bool inside(int x, int y, int left, int top, int right, int bottom) {
    return x >= left && x < right && y >= top && y < bottom;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Canvas& c = canvas();
    FuzzedDataProvider input(data, size);
    const bool monochrome = input.ConsumeBool();
    const HFONT font = c.fonts[input.ConsumeIntegralInRange<std::size_t>(0, c.fonts.size() - 1)];
    const HGDIOBJ previousBitmap = SelectObject(c.context, monochrome ? c.monochrome : c.colour);
    const HGDIOBJ previousFont = SelectObject(c.context, font);
    SetBkMode(c.context, input.ConsumeBool() ? OPAQUE : TRANSPARENT);
    SetBkColor(c.context, input.ConsumeIntegral<COLORREF>() & 0xFFFFFF);
    SetTextColor(c.context, input.ConsumeIntegral<COLORREF>() & 0xFFFFFF);
    const UINT format = input.ConsumeIntegral<UINT>();
    RECT rect{};
    rect.left = coordinate(input);
    rect.top = coordinate(input);
    rect.right = coordinate(input);
    rect.bottom = coordinate(input);

    RECT clip{0, 0, kWidth, kHeight};
    HRGN region = nullptr;
    if (input.ConsumeBool()) {
        clip = {coordinate(input), coordinate(input), coordinate(input), coordinate(input)};
        region = CreateRectRgn(clip.left, clip.top, clip.right, clip.bottom);
        SelectClipRgn(c.context, region);
        // The region keeps its corners in order, whatever order they came in.
        if (clip.left > clip.right) {
            std::swap(clip.left, clip.right);
        }
        if (clip.top > clip.bottom) {
            std::swap(clip.top, clip.bottom);
        }
    }

    // Length: -1 or another negative value reads up to the terminator, which the buffer always holds;
    // a count of 0 or more reads exactly that many bytes of a buffer that has no terminator at all.
    const int lengthKind = input.ConsumeIntegralInRange(0, 2);
    const int negative = input.ConsumeIntegralInRange(-1000, -1);
    const std::string text = input.ConsumeRemainingBytesAsString();
    std::vector<char> buffer(text.begin(), text.end());
    int length = static_cast<int>(buffer.size());
    if (lengthKind == 2) {
        length = -1;
        buffer.push_back('\0');  // embedded zeros end the text earlier
    } else if (lengthKind == 1) {
        length = negative;
        buffer.push_back('\0');
    }

    if (!monochrome) {
        for (int i = 0; i < kWidth * kHeight; ++i) {
            c.pixels[i] = kUntouched;
        }
    }
    DrawTextA(c.context, buffer.data(), length, &rect, format);

    if (!monochrome) {
        const bool rectangleClips = (format & DT_NOCLIP) == 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const std::uint32_t pixel = c.pixels[(kHeight - 1 - y) * kWidth + x];
                const bool allowed = inside(x, y, clip.left, clip.top, clip.right, clip.bottom) &&
                                     (!rectangleClips || inside(x, y, rect.left, rect.top, rect.right, rect.bottom));
                if (!allowed && pixel != kUntouched) {
                    std::fprintf(stderr, "pixel (%d, %d) drawn outside rectangle (%d, %d, %d, %d) or clip\n", x, y,
                                 static_cast<int>(rect.left), static_cast<int>(rect.top), static_cast<int>(rect.right),
                                 static_cast<int>(rect.bottom));
                    std::abort();
                }
            }
        }
    }

    if (region != nullptr) {
        SelectClipRgn(c.context, nullptr);
        DeleteObject(region);
    }
    SelectObject(c.context, previousFont);
    SelectObject(c.context, previousBitmap);
    return 0;
}
