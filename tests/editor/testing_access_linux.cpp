// The testing build's table of the subset's test driver and window queries, for the editor tests.
#include <memory>
#include <string>
#include <vector>

#include "platform/testing/test_driver.h"
#include "tests/editor/testing_access.h"

namespace {

using platform::testing::Driver;

std::unique_ptr<Driver> driver;

void readPixels(HWND window, int width, int height, std::uint32_t* pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    HDC dc = GetDC(window);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < width * height; ++i) {
        pixels[i] = source[i] & 0xFFFFFFu;
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

const editortest::TestingAccess access{
    [] { driver = std::make_unique<Driver>(); },
    [] { driver.reset(); },
    [](DWORD milliseconds) { driver->advance(milliseconds); },
    [](POINT screen) { driver->setCursor(screen); },
    [](bool shift, bool control, bool alt) { driver->setModifiers(shift, control, alt); },
    [](bool left, bool right, bool middle) { driver->holdButtons(left, right, middle); },
    [](const platform::GestureStep* steps, std::size_t count) {
        driver->gesture(std::vector<platform::GestureStep>(steps, steps + count));
    },
    [](POINT screen) { driver->click(screen); },
    [](POINT screen) { driver->quickClick(screen); },
    [](const char* text) { driver->typeText(text); },
    [](int virtualKey) { driver->pressKey(virtualKey); },
    [](POINT screen, int notches) { driver->turnWheel(screen, notches); },
    [] { return driver->pumpMessages(); },
    [](void* nativeParent) { return Driver::windowInNativeParent(static_cast<HWND>(nativeParent)); },
    [](HWND window, char* name, int size) { return GetClassNameA(window, name, size); },
    [](HWND window) { return GetParent(window); },
    [](HWND window, RECT* rect) { return GetWindowRect(window, rect); },
    readPixels,
    [] { return GetFocus(); },
    [](HWND window) { InvalidateRect(window, nullptr, FALSE); },
    [] { return Driver::liveGdiObjects(); },
    [] { return Driver::liveWindows(); },
};

}  // namespace

extern "C" __attribute__((visibility("default"))) const editortest::TestingAccess* zelmorTestingAccess() {
    return &access;
}
