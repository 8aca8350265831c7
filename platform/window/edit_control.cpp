// The built-in single-line "EDIT" control: text, selection, caret, typing and painting.
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/gdi/device_context.h"
#include "platform/gdi/font_engine.h"
#include "platform/window/input_state.h"
#include "platform/window/window.h"

namespace platform {
namespace {

constexpr std::size_t kDefaultLimit = 32767;
constexpr std::size_t kLargestLimit = 0x7FFFFFFE;
constexpr char kBackspace = '\b';
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

struct EditState : ControlState {
    std::string text;
    std::size_t anchor = 0;  // where the selection started
    std::size_t caret = 0;   // where it ends, and where typing goes
    std::size_t limit = kDefaultLimit;
    int leftMargin = 0;
    int rightMargin = 0;
    HFONT font = nullptr;
    bool focused = false;
    int scroll = 0;  // pixels of text scrolled out on the left (left-aligned controls with automatic scrolling)

    std::size_t selectionStart() const { return std::min(anchor, caret); }
    std::size_t selectionEnd() const { return std::max(anchor, caret); }
    void replaceSelection(const std::string& replacement) {
        text.replace(selectionStart(), selectionEnd() - selectionStart(), replacement);
        caret = anchor = selectionStart() + replacement.size();
    }
};

EditState* stateOf(HWND handle) {
    std::shared_ptr<Window> window = findWindow(handle);
    return window ? dynamic_cast<EditState*>(window->control.get()) : nullptr;
}

const FontFace* faceOf(const EditState& state) {
    HGDIOBJ handle = state.font != nullptr ? static_cast<HGDIOBJ>(state.font) : GetStockObject(SYSTEM_FONT);
    std::shared_ptr<GdiObject> font = findObject(handle);
    return font && font->kind == ObjectKind::font ? static_cast<Font*>(font.get())->face.get() : nullptr;
}

int textWidth(const EditState& state, std::size_t count) {
    const FontFace* face = faceOf(state);
    return face != nullptr ? face->width(state.text.data(), static_cast<int>(count)) : 0;
}

// Where the text starts in client coordinates, after alignment and scrolling.
int textLeft(Window& window, EditState& state) {
    const int left = state.leftMargin;
    const int right = window.width() - state.rightMargin;
    const int width = textWidth(state, state.text.size());
    if ((window.style & ES_CENTER) != 0) {
        return left + (right - left - width) / 2;
    }
    if ((window.style & ES_RIGHT) != 0) {
        return right - width;
    }
    if ((window.style & ES_AUTOHSCROLL) != 0) {
        // Keep the caret in view.
        const int caretX = textWidth(state, state.caret);
        if (caretX - state.scroll > right - left) {
            state.scroll = caretX - (right - left);
        }
        if (caretX < state.scroll) {
            state.scroll = caretX;
        }
        state.scroll = std::max(0, state.scroll);
    }
    return left - state.scroll;
}

void drawRun(HDC dc, const EditState& state, std::size_t from, std::size_t to, int x, int height) {
    if (to <= from) {
        return;
    }
    RECT rect{x, 0, x + textWidth(state, to) - textWidth(state, from), height};
    DrawTextA(dc, state.text.data() + from, static_cast<int>(to - from), &rect,
              DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_NOCLIP);
}

void paint(const std::shared_ptr<Window>& window, EditState& state) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(window->handle, &ps);
    const LRESULT answer = window->parent != nullptr
                               ? SendMessageA(window->parent->handle, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(window->handle))
                               : DefWindowProcA(window->handle, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                                reinterpret_cast<LPARAM>(window->handle));
    auto brush = reinterpret_cast<HBRUSH>(answer);
    if (!findObject(brush)) {
        brush = GetSysColorBrush(COLOR_WINDOW);
    }
    RECT client{0, 0, window->width(), window->height()};
    FillRect(dc, &client, brush);

    const FontFace* face = faceOf(state);
    if (face != nullptr) {
        HGDIOBJ previousFont =
            SelectObject(dc, state.font != nullptr ? static_cast<HGDIOBJ>(state.font) : GetStockObject(SYSTEM_FONT));
        SetBkMode(dc, TRANSPARENT);
        const int left = textLeft(*window, state);
        const int height = face->height();
        const bool showSelection = state.focused && state.anchor != state.caret;
        const std::size_t start = showSelection ? state.selectionStart() : state.text.size();
        const std::size_t end = showSelection ? state.selectionEnd() : state.text.size();
        drawRun(dc, state, 0, start, left + textWidth(state, 0), height);
        drawRun(dc, state, end, state.text.size(), left + textWidth(state, end), height);
        if (showSelection) {
            auto context = requireContext(dc, "edit paint");
            const COLORREF text = SetTextColor(dc, systemColour(COLOR_HIGHLIGHTTEXT));
            fillDeviceBox(*context, {left + textWidth(state, start), 0, left + textWidth(state, end), height},
                          pixelFromColour(systemColour(COLOR_HIGHLIGHT), context->monochrome()));
            drawRun(dc, state, start, end, left + textWidth(state, start), height);
            SetTextColor(dc, text);
        } else if (state.focused) {
            auto context = requireContext(dc, "edit paint");
            const int caretX = left + textWidth(state, state.caret);
            fillDeviceBox(*context, {caretX, 0, caretX + 1, height},
                          pixelFromColour(context->textColour, context->monochrome()));
        }
        SelectObject(dc, previousFont);
    }
    EndPaint(window->handle, &ps);
}

std::size_t caretFromPoint(Window& window, EditState& state, int x) {
    const int left = textLeft(window, state);
    std::size_t best = 0;
    int bestDistance = std::abs(x - left);
    for (std::size_t i = 1; i <= state.text.size(); ++i) {
        const int distance = std::abs(x - (left + textWidth(state, i)));
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void moveCaret(EditState& state, std::size_t to, bool extend) {
    state.caret = to;
    if (!extend) {
        state.anchor = to;
    }
}

LRESULT keyDown(EditState& state, WPARAM key) {
    const bool extend = input().down[VK_SHIFT];
    switch (key) {
        case VK_LEFT:
            moveCaret(state, state.caret > 0 ? state.caret - 1 : 0, extend);
            break;
        case VK_RIGHT:
            moveCaret(state, std::min(state.caret + 1, state.text.size()), extend);
            break;
        case VK_HOME:
            moveCaret(state, 0, extend);
            break;
        case VK_END:
            moveCaret(state, state.text.size(), extend);
            break;
        case VK_DELETE:
            if (state.anchor == state.caret && state.caret < state.text.size()) {
                state.caret++;
            }
            state.replaceSelection("");
            break;
        default:
            break;
    }
    return 0;
}

void typeCharacter(EditState& state, WPARAM code) {
    const auto character = static_cast<unsigned char>(code);
    if (character == static_cast<unsigned char>(kBackspace)) {
        if (state.anchor == state.caret && state.caret > 0) {
            state.anchor = state.caret - 1;
        }
        state.replaceSelection("");
        return;
    }
    // Return, Tab and other control characters do nothing in a single-line control.
    if (character < kFirstPrintable || character == kDelete) {
        return;
    }
    const std::size_t kept = state.text.size() - (state.selectionEnd() - state.selectionStart());
    if (kept + 1 > state.limit) {
        return;
    }
    state.replaceSelection(std::string(1, static_cast<char>(character)));
}

}  // namespace

LRESULT editWindowProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<Window> window = findWindow(handle);
    if (!window) {
        return 0;
    }
    if (message == WM_NCCREATE) {
        auto state = std::make_unique<EditState>();
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create != nullptr && create->lpszName != nullptr) {
            state->text = create->lpszName;
        }
        window->control = std::move(state);
        return TRUE;
    }
    EditState* state = stateOf(handle);
    if (state == nullptr) {
        return DefWindowProcA(handle, message, wParam, lParam);
    }
    switch (message) {
        case WM_SETTEXT:
            state->text = lParam != 0 ? reinterpret_cast<LPCSTR>(lParam) : "";
            state->anchor = state->caret = 0;
            state->scroll = 0;
            InvalidateRect(handle, nullptr, TRUE);
            return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<LPSTR>(lParam);
            if (buffer == nullptr || wParam == 0) {
                return 0;
            }
            const std::size_t length = std::min(state->text.size(), static_cast<std::size_t>(wParam) - 1);
            std::memcpy(buffer, state->text.data(), length);
            buffer[length] = '\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(state->text.size());
        case WM_SETFONT:
            state->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(static_cast<DWORD_PTR>(lParam)) != 0) {
                InvalidateRect(handle, nullptr, TRUE);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state->font);
        case EM_SETSEL: {
            const auto start = static_cast<INT_PTR>(wParam);
            const auto end = static_cast<INT_PTR>(lParam);
            const std::size_t length = state->text.size();
            if (start < 0) {
                state->anchor = state->caret;
            } else {
                state->anchor = std::min(static_cast<std::size_t>(start), length);
                state->caret = end < 0 ? length : std::min(static_cast<std::size_t>(end), length);
            }
            InvalidateRect(handle, nullptr, TRUE);
            return 0;
        }
        case EM_GETSEL: {
            if (wParam != 0) {
                *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(state->selectionStart());
            }
            if (lParam != 0) {
                *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(state->selectionEnd());
            }
            return MAKELONG(static_cast<WORD>(state->selectionStart()), static_cast<WORD>(state->selectionEnd()));
        }
        case EM_LIMITTEXT:
            state->limit = wParam == 0 ? kLargestLimit : static_cast<std::size_t>(wParam);
            return 0;
        case EM_SETMARGINS:
            if ((wParam & EC_LEFTMARGIN) != 0) {
                state->leftMargin = LOWORD(static_cast<DWORD_PTR>(lParam));
            }
            if ((wParam & EC_RIGHTMARGIN) != 0) {
                state->rightMargin = HIWORD(static_cast<DWORD_PTR>(lParam));
            }
            InvalidateRect(handle, nullptr, TRUE);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        case WM_CHAR:
            typeCharacter(*state, wParam);
            InvalidateRect(handle, nullptr, TRUE);
            return 0;
        case WM_KEYDOWN:
            keyDown(*state, wParam);
            InvalidateRect(handle, nullptr, TRUE);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            state->focused = message == WM_SETFOCUS;
            InvalidateRect(handle, nullptr, TRUE);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(handle);
            moveCaret(*state,
                      caretFromPoint(*window, *state, static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)))),
                      false);
            InvalidateRect(handle, nullptr, TRUE);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting fills the background with the parent's brush
        case WM_PAINT:
            paint(window, *state);
            return 0;
        default:
            return DefWindowProcA(handle, message, wParam, lParam);
    }
}

}  // namespace platform
