// The editor's window on Windows: a Win32 top-level window with a timer that idles the editor.
#include <windows.h>

#include <stdexcept>

#include "host/cli/editor_window.h"

namespace {

const char* const kClassName = "ZelmorHostEditorWindow";
constexpr UINT_PTR kIdleTimer = 1;
constexpr UINT kIdleMilliseconds = 33;
// A fixed-size window: no maximise box and no sizing border.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

}  // namespace

struct EditorWindow::System {
    HWND window = nullptr;
    int width = 0;
    int height = 0;
    const std::function<bool()>* tick = nullptr;
    bool finished = false;
    bool closedByUser = false;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<System*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self != nullptr) {
            switch (message) {
                case WM_TIMER:
                    if (wParam == kIdleTimer) {
                        // Also reached inside modal loops (the editor's own gestures, a window move).
                        if (self->tick != nullptr && !self->finished && !(*self->tick)()) {
                            self->finished = true;
                        }
                        return 0;
                    }
                    break;
                case WM_CLOSE:
                    // The editor is closed before the window goes, so the window stays for now.
                    self->closedByUser = true;
                    self->finished = true;
                    return 0;
                default:
                    break;
            }
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

EditorWindow::EditorWindow(const std::string& title, int width, int height) : system(std::make_unique<System>()) {
    system->width = width;
    system->height = height;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &System::procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    if (RegisterClassExA(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("cannot register the editor window's class");
    }
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, kStyle, FALSE);
    system->window =
        CreateWindowExA(0, kClassName, title.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, system.get());
    if (system->window == nullptr) {
        throw std::runtime_error("cannot create a window for the editor");
    }
    RECT client{};
    GetClientRect(system->window, &client);
    if (client.right - client.left != width || client.bottom - client.top != height) {
        DestroyWindow(system->window);
        throw std::runtime_error("the desktop did not give the editor's window its size");
    }
    ShowWindow(system->window, SW_SHOWNORMAL);
    UpdateWindow(system->window);
}

EditorWindow::~EditorWindow() {
    if (system->window != nullptr) {
        DestroyWindow(system->window);
    }
}

void* EditorWindow::nativeHandle() const {
    return system->window;
}

std::intptr_t EditorWindow::openValue() const {
    return 0;
}

bool EditorWindow::run(const std::function<bool()>& tick) {
    system->tick = &tick;
    system->finished = false;
    system->closedByUser = false;
    SetTimer(system->window, kIdleTimer, kIdleMilliseconds, nullptr);
    MSG message;
    while (!system->finished && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    KillTimer(system->window, kIdleTimer);
    system->tick = nullptr;
    return system->closedByUser;
}

WindowPixels EditorWindow::pixels() {
    const int width = system->width;
    const int height = system->height;
    // Paints still waiting, the editor's included, are done before the pixels are read.
    RedrawWindow(system->window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // rows from the top
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC windowContext = GetDC(system->window);
    HDC memory = CreateCompatibleDC(windowContext);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(windowContext, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool copied = false;
    if (memory != nullptr && bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = BitBlt(memory, 0, 0, width, height, windowContext, 0, 0, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, previous);
    }
    WindowPixels picture;
    if (copied) {
        picture.width = width;
        picture.height = height;
        picture.rgb.reserve(static_cast<std::size_t>(width) * height * 3);
        const auto* pixel = static_cast<const std::uint8_t*>(bits);
        for (std::size_t i = 0, count = static_cast<std::size_t>(width) * height; i < count; ++i, pixel += 4) {
            picture.rgb.push_back(pixel[2]);
            picture.rgb.push_back(pixel[1]);
            picture.rgb.push_back(pixel[0]);
        }
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (memory != nullptr) {
        DeleteDC(memory);
    }
    ReleaseDC(system->window, windowContext);
    if (!copied) {
        throw std::runtime_error("cannot read the editor window's pixels");
    }
    return picture;
}
