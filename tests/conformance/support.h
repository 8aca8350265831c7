// Helpers for the Win32 conformance tests, which run unchanged against the subset and against Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace conformance {

// A 32-bit DIB section selected into a memory context; pixels read as 0xAARRGGBB.
class Canvas {
public:
    Canvas(int width, int height, bool bottomUp = false);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    std::uint32_t& at(int x, int y);  // (0, 0) is the top-left pixel on screen
    void fill(std::uint32_t pixel);
    // The rows y0..y1 (exclusive) and columns x0..x1 as text: '#' where the pixel differs from background.
    std::string mask(int x0, int y0, int x1, int y1, std::uint32_t background = 0) const;

    const int width;
    const int height;
    const bool bottomUp;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    std::uint32_t* bits = nullptr;  // in memory order

private:
    HGDIOBJ previous = nullptr;
};

// The pixel GDI writes for a colour: red, green and blue, alpha zero.
constexpr std::uint32_t pixelOf(COLORREF colour) {
    return ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

struct Bounds {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0;
    bool empty() const { return right <= left; }
};
// The smallest rectangle around every pixel that differs from the background (RGB compared).
Bounds inkBounds(const Canvas& canvas, std::uint32_t background);

// Saves top-down 0xAARRGGBB pixels as an opaque RGB PNG; throws on failure.
void savePng(const std::string& path, const std::vector<std::uint32_t>& pixels, int width, int height);
std::vector<std::uint32_t> loadPng(const std::string& path, int& width, int& height);
std::string picturePath(const std::string& name);  // in the test build's "pictures" folder

// A visible top-level window without a frame, standing in for the host's window, placed and sized
// as asked; its messages go to the handler (or DefWindowProcA) until it is closed. Tests destroy the
// children they made before closing it.
HWND openHostWindow(int x, int y, int width, int height, WNDPROC handler = nullptr);
void closeHostWindow();
// Dispatches what the queue holds (paint messages included), at most a bounded number.
int pumpMessages();
// Reads a window's pixels off its device context.
std::vector<std::uint32_t> windowPixels(HWND window, int width, int height);

// The owner of storage media, as a drag source names one in STGMEDIUM: it hears each medium given back.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"  // released, never deleted through the interface
class MediumOwner : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID /*iid*/, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override {
        ++released;
        return 1;
    }
    int released = 0;
};
#pragma GCC diagnostic pop

// A CF_HDROP block such as the shell makes.
HDROP makeFileList(const std::vector<std::string>& files);
void freeFileList(HDROP files);

}  // namespace conformance
