// Conformance helpers: canvases over DIB sections, PNG files, host windows and the message pump.
#include "tests/conformance/support.h"

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace conformance {

Canvas::Canvas(int w, int h, bool up) : width(w), height(h), bottomUp(up) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = bottomUp ? height : -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = static_cast<std::uint32_t*>(memory);
    dc = CreateCompatibleDC(nullptr);
    previous = SelectObject(dc, bitmap);
}

Canvas::~Canvas() {
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

std::uint32_t& Canvas::at(int x, int y) {
    const int row = bottomUp ? height - 1 - y : y;
    return bits[row * width + x];
}

void Canvas::fill(std::uint32_t pixel) {
    std::fill(bits, bits + width * height, pixel);
}

std::string Canvas::mask(int x0, int y0, int x1, int y1, std::uint32_t background) const {
    std::string text;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const int row = bottomUp ? height - 1 - y : y;
            text.push_back(bits[row * width + x] != background ? '#' : '.');
        }
        text.push_back('\n');
    }
    return text;
}

Bounds inkBounds(const Canvas& canvas, std::uint32_t background) {
    Bounds bounds{canvas.width, canvas.height, 0, 0};
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            const int row = canvas.bottomUp ? canvas.height - 1 - y : y;
            if (((canvas.bits[row * canvas.width + x] ^ background) & 0xFFFFFFu) == 0) {
                continue;
            }
            bounds.left = std::min(bounds.left, x);
            bounds.top = std::min(bounds.top, y);
            bounds.right = std::max(bounds.right, x + 1);
            bounds.bottom = std::max(bounds.bottom, y + 1);
        }
    }
    if (bounds.right == 0) {
        bounds = Bounds{};
    }
    return bounds;
}

void savePng(const std::string& path, const std::vector<std::uint32_t>& pixels, int width, int height) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode " + path);
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t pixel = pixels[static_cast<std::size_t>(y * width + x)];
            row[static_cast<std::size_t>(x * 3)] = static_cast<png_byte>(pixel >> 16);
            row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<png_byte>(pixel >> 8);
            row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<png_byte>(pixel);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

std::vector<std::uint32_t> loadPng(const std::string& path, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        throw std::runtime_error("cannot read " + path);
    }
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(image.width) * image.height);
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
        throw std::runtime_error("cannot decode " + path);
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    for (std::uint32_t& pixel : pixels) {
        pixel &= 0xFFFFFFu;
    }
    return pixels;
}

std::string picturePath(const std::string& name) {
    return std::string(ZELMOR_PICTURE_DIRECTORY) + "/" + name;
}

namespace {

WNDPROC hostHandler = nullptr;
HWND sharedHost = nullptr;

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return hostHandler != nullptr ? hostHandler(window, message, wParam, lParam)
                                  : DefWindowProcA(window, message, wParam, lParam);
}

// Destroying a top-level window costs Wine about two seconds when no window manager runs, while
// ending the process with the window open costs nothing; so the tests share one host window and
// leave it to the end of the process.

}  // namespace

HWND openHostWindow(int x, int y, int width, int height, WNDPROC handler) {
    hostHandler = handler;
    if (sharedHost == nullptr) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = hostProcedure;
        windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        windowClass.lpszClassName = "ZelmorConformanceHost";
        RegisterClassA(&windowClass);
        sharedHost = CreateWindowExA(0, "ZelmorConformanceHost", "Host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                                     width, height, nullptr, nullptr, nullptr, nullptr);
    } else {
        SetWindowPos(sharedHost, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(sharedHost, nullptr, TRUE);
    }
    pumpMessages();
    return sharedHost;
}

void closeHostWindow() {
    pumpMessages();
    hostHandler = nullptr;
}

int pumpMessages() {
    constexpr int kMostMessages = 1000;
    int count = 0;
    MSG message{};
    while (count < kMostMessages && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
        ++count;
    }
    return count;
}

std::vector<std::uint32_t> windowPixels(HWND window, int width, int height) {
    Canvas canvas(width, height);
    HDC dc = GetDC(window);
    BitBlt(canvas.dc, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    std::vector<std::uint32_t> pixels(canvas.bits, canvas.bits + width * height);
    for (std::uint32_t& pixel : pixels) {
        pixel &= 0xFFFFFFu;
    }
    return pixels;
}

}  // namespace conformance
