// CFrame's window: the window class shared by every frame of this library, the child window inside the
// host's window, the window procedure that turns messages into toolkit calls, and the cursor.
#include <cstdio>

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/system_state.h"
#include "gui/text_edit.h"
#include "platform/interface_lock.h"
#include "platform/module_instance.h"

namespace gui {
namespace {

// One class per loaded copy of the library: its name holds the module handle, so that two copies
// in one process never share a window procedure.
char windowClassName[100] = "";
int windowClassUseCount = 0;

HMODULE ownModule() {
    return static_cast<HMODULE>(hInstance);
}

void registerWindowClass() {
    if (++windowClassUseCount != 1) {
        return;
    }
    std::snprintf(windowClassName, sizeof windowClassName, "Plugin%p", hInstance);
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = CFrame::windowProcedure;
    windowClass.hInstance = ownModule();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = windowClassName;
    RegisterClassA(&windowClass);
    system::swappedMouseButtons = GetSystemMetrics(SM_SWAPBUTTON) > 0;
}

void releaseWindowClass() {
    if (windowClassUseCount > 0 && --windowClassUseCount == 0) {
        UnregisterClassA(windowClassName, ownModule());
    }
}

CFrame* frameOf(HWND window) {
    return reinterpret_cast<CFrame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Mouse positions travel as two 16-bit halves of lParam.
CPoint clientPoint(LPARAM lParam) {
    const auto packed = static_cast<DWORD>(lParam);
    return CPoint(LOWORD(packed), HIWORD(packed));
}

// The buttons and modifiers a mouse message carries; Alt as of that message.
std::int32_t buttonsOf(WPARAM wParam) {
    std::int32_t buttons = 0;
    if ((wParam & MK_LBUTTON) != 0) {
        buttons |= kLButton;
    }
    if ((wParam & MK_MBUTTON) != 0) {
        buttons |= kMButton;
    }
    if ((wParam & MK_RBUTTON) != 0) {
        buttons |= kRButton;
    }
    if ((wParam & MK_SHIFT) != 0) {
        buttons |= kShift;
    }
    if ((wParam & MK_CONTROL) != 0) {
        buttons |= kControl;
    }
    if (GetKeyState(VK_MENU) < 0) {
        buttons |= kAlt;
    }
    return buttons;
}

CPoint signedPoint(LPARAM lParam) {
    const auto packed = static_cast<DWORD>(lParam);
    return CPoint(static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed)));
}

}  // namespace

void CFrame::createWindow() {
    registerWindowClass();
    window =
        CreateWindowExA(0, windowClassName, "Window", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                        size.width(), size.height(), static_cast<HWND>(systemWindow), nullptr, ownModule(), nullptr);
    if (window == nullptr) {
        releaseWindowClass();
        return;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    setDropActive(true);
}

void CFrame::destroyWindow() {
    if (window == nullptr) {
        return;
    }
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    window = nullptr;
    releaseWindowClass();
}

LRESULT CALLBACK CFrame::windowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    CFrame* frame = frameOf(handle);
    if (frame == nullptr) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    // Windows' own message loop calls here, outside any request of the host.
    const platform::InterfaceLock locked;
    // A press may reach the host (automation, idle) and the host may close the editor from there.
    const CFrame::InUse running(frame);
    switch (message) {
        case WM_DESTROY:
            // The host destroys its window before it closes the editor: everything that needs the window
            // ends now, and the frame lives on without one.
            frame->setOpenFlag(false);
            frame->systemWindow = nullptr;
            if (frame->focusView != nullptr) {
                frame->setFocusView(nullptr);
            }
            if (frame->bDropActive) {
                frame->setDropActive(false);
            }
            SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
            frame->window = nullptr;
            releaseWindowClass();
            return DefWindowProcA(handle, message, wParam, lParam);
        case WM_PAINT: {
            RECT area{};
            if (GetUpdateRect(handle, &area, FALSE) == FALSE) {
                return DefWindowProcA(handle, message, wParam, lParam);
            }
            frame->paint();
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            auto* context = new CDrawContext(frame, nullptr, handle);
            CPoint where = clientPoint(lParam);
            // The press as its message tells it: a release that came with it must not undo the click.
            frame->pressButtons = buttonsOf(wParam);
            frame->mouse(context, where, frame->pressButtons);
            frame->pressButtons = -1;
            context->forget();
            return 0;
        }
        case WM_MOUSEWHEEL: {
            // The message carries the pointer on the screen; the views want it in the frame's coordinates.
            auto* context = new CDrawContext(frame, nullptr, handle);
            const CPoint screen = signedPoint(lParam);
            POINT where{screen.h, screen.v};
            MapWindowPoints(nullptr, handle, &where, 1);
            const float distance = static_cast<float>(static_cast<SHORT>(HIWORD(static_cast<DWORD>(wParam)))) /
                                   static_cast<float>(WHEEL_DELTA);
            frame->onWheel(context, CPoint(where.x, where.y), distance);
            context->forget();
            return DefWindowProcA(handle, message, wParam, lParam);
        }
        case WM_CTLCOLOREDIT: {
            LRESULT brush = 0;
            frame->colourEditBox(reinterpret_cast<HDC>(wParam), brush);
            return brush != 0 ? brush : DefWindowProcA(handle, message, wParam, lParam);
        }
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

void CFrame::paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window, &ps);
    const CRect painted(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    CDrawContext* context = getBackBuffer();
    CDrawContext* temporary = nullptr;
    if (context == nullptr) {
        context = temporary = new CDrawContext(this, dc, window);
    }
    drawRect(context, painted);
    if (backBuffer != nullptr) {
        CDrawContext target(this, dc, window);
        backBuffer->copyFrom(&target, painted, painted.topLeft());
    } else {
        temporary->forget();
    }
    EndPaint(window, &ps);
}

void CFrame::colourEditBox(HDC context, LRESULT& brush) {
    // Only a text edit opens an edit box, and only while it holds the focus.
    if (focusView == nullptr || !focusView->isTypeOf("CTextEdit")) {
        return;
    }
    auto* edit = static_cast<CTextEdit*>(focusView);
    SetTextColor(context, edit->getFontColor().colorRef());
    SetBkColor(context, edit->getBackColor().colorRef());
    HBRUSH created = CreateSolidBrush(edit->getBackColor().colorRef());
    if (HBRUSH previous = edit->replaceEditBrush(created)) {
        DeleteObject(previous);
    }
    brush = reinterpret_cast<LRESULT>(created);
}

void CFrame::setCursor(std::int32_t type) {
    // The cursor of the first call is the default, even when that is no cursor at all.
    if (!defaultCursorTaken) {
        defaultCursor = GetCursor();
        defaultCursorTaken = true;
    }
    LPCSTR id = nullptr;
    switch (type) {
        case kCursorWait:
            id = IDC_WAIT;
            break;
        case kCursorHSize:
            id = IDC_SIZEWE;
            break;
        case kCursorVSize:
            id = IDC_SIZENS;
            break;
        case kCursorSizeAll:
            id = IDC_SIZEALL;
            break;
        case kCursorNESWSize:
            id = IDC_SIZENESW;
            break;
        case kCursorNWSESize:
            id = IDC_SIZENWSE;
            break;
        case kCursorNotAllowed:
            id = IDC_NO;
            break;
        case kCursorHand:
            id = IDC_HAND;
            break;
        default:
            break;
    }
    SetCursor(id != nullptr ? LoadCursorA(nullptr, id) : defaultCursor);
}

}  // namespace gui
