// CTextEdit: the display made editable in a native edit box that opens over it and closes on Return, on
// the loss of the keyboard focus, or when the frame moves its focus away.
#include <cstring>

#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/text_edit.h"
#include "platform/interface_lock.h"
#include "platform/module_instance.h"

namespace gui {
namespace {

constexpr int kMostCharacters = static_cast<int>(kTextBufferSize) - 1;
const char* const kMsgLooseFocus = "LooseFocus";

// Every edit box has the same class procedure, so one slot serves all text edits of the library.
WNDPROC previousEditProcedure = nullptr;

void copyBounded(char* to, const char* from) {
    std::size_t length = 0;
    while (length < kTextBufferSize - 1 && from[length] != '\0') {
        ++length;
    }
    std::memmove(to, from, length);
    to[length] = '\0';
}

}  // namespace

CTextEdit::CTextEdit(const CRect& rect, CControlListener* owner, std::int32_t identifier, const char* initial,
                     CBitmap* background, std::int32_t editStyle)
    : CParamDisplay(rect, background, editStyle) {
    listener = owner;
    tag = identifier;
    if (initial != nullptr) {
        copyBounded(text, initial);
    }
    setWantsFocus(true);
}

CTextEdit::~CTextEdit() {
    if (platformControl != nullptr) {
        SetWindowLongPtrA(platformControl, GWLP_USERDATA, 0);
        DestroyWindow(platformControl);
    }
    if (platformFont != nullptr) {
        DeleteObject(platformFont);
    }
    if (platformFontColor != nullptr) {
        DeleteObject(platformFontColor);
    }
}

void CTextEdit::draw(CDrawContext* context) {
    // While the edit box is open it covers the display.
    if (platformControl == nullptr) {
        char string[kTextBufferSize] = "";
        if (editConvert2 != nullptr) {
            editConvert2(text, string, userData);
        } else if (editConvert != nullptr) {
            editConvert(text, string);
        } else if (stringConvert2 != nullptr || stringConvert != nullptr) {
            valueToText(string);
            copyBounded(text, string);
        } else {
            copyBounded(string, text);
        }
        string[kTextBufferSize - 1] = '\0';
        drawText(context, string);
    }
    setDirty(false);
}

void CTextEdit::mouse(CDrawContext* context, CPoint& /*where*/, std::int32_t buttons) {
    if (!acceptPress(context, buttons) || (buttons & kLButton) == 0 || parentFrame == nullptr) {
        return;
    }
    if (parentFrame->getFocusView() == this) {
        return;
    }
    if ((style & kDoubleClickStyle) != 0) {
        // Compared as a wrapping difference: the tick counter wraps after 49.7 days.
        const std::uint32_t now = parentFrame->getTicks();
        const bool pending = lastTicks != -1 && lastTicks != 0;
        if (!pending || now - static_cast<std::uint32_t>(lastTicks) >= static_cast<std::uint32_t>(delta)) {
            lastTicks = static_cast<std::int32_t>(now);
            return;
        }
        lastTicks = 0;
    }
    beginEdit();
    editing = true;
    takeFocus(context);
}

void CTextEdit::takeFocus(CDrawContext* context) {
    if (platformControl != nullptr || parentFrame == nullptr || parentFrame->getNativeWindow() == nullptr) {
        return;
    }
    // The display's rectangle in the coordinates of the frame's window.
    CRect r = size;
    for (CView* parent = parentView; parent != nullptr; parent = parent->getParentView()) {
        if (parent->notify(this, kMsgCheckIfViewContainer) == kMessageNotified) {
            CRect parentSize;
            parent->getViewSize(parentSize);
            r.offset(parentSize.left, parentSize.top);
        }
    }
    if (context != nullptr) {
        r.offset(context->offset.h, context->offset.v);
    }

    DWORD boxStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
    if (horiTxtAlign == kCenterText) {
        boxStyle |= ES_CENTER;
    } else if (horiTxtAlign == kRightText) {
        boxStyle |= ES_RIGHT;
    }
    platformControl =
        CreateWindowExA(0, "EDIT", text, boxStyle, r.left, r.top, r.width(), r.height(), parentFrame->getNativeWindow(),
                        nullptr, static_cast<HINSTANCE>(hInstance), nullptr);
    if (platformControl == nullptr) {
        return;
    }

    const StandardFont& standard = kStandardFonts[fontID >= 0 && fontID < kNumStandardFonts ? fontID : kSystemFont];
    LOGFONTA record{};
    record.lfHeight = -(r.height() - 2 < standard.size ? r.height() - 2 : standard.size);
    record.lfWeight = FW_NORMAL;
    record.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    record.lfOutPrecision = OUT_STRING_PRECIS;
    record.lfClipPrecision = CLIP_STROKE_PRECIS;
    record.lfQuality = DEFAULT_QUALITY;
    record.lfCharSet = ANSI_CHARSET;
    std::strncpy(record.lfFaceName, standard.face, sizeof record.lfFaceName - 1);
    if (platformFont != nullptr) {
        DeleteObject(platformFont);
    }
    platformFont = CreateFontIndirectA(&record);
    if (platformFontColor != nullptr) {
        DeleteObject(platformFontColor);
    }
    platformFontColor = nullptr;

    SetWindowLongPtrA(platformControl, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageA(platformControl, WM_SETFONT, reinterpret_cast<WPARAM>(platformFont), TRUE);
    SendMessageA(platformControl, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    SendMessageA(platformControl, EM_SETSEL, 0, -1);
    SendMessageA(platformControl, EM_LIMITTEXT, static_cast<WPARAM>(kMostCharacters), 0);
    SetFocus(platformControl);
    previousEditProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(platformControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CTextEdit::editProcedure)));
}

LRESULT CALLBACK CTextEdit::editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* control = reinterpret_cast<CTextEdit*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    const platform::InterfaceLock locked;
    // Return reaches the listener, and through it the host, which may close the editor there.
    const CFrame::InUse running(control != nullptr ? control->getFrame() : nullptr);
    switch (message) {
        case WM_GETDLGCODE:
            // Tab, Return and the arrows stay in the box.
            return DLGC_WANTALLKEYS;
        case WM_KILLFOCUS:
            // The box is gone once the control has closed it: nothing may reach its own procedure now.
            if (control != nullptr) {
                control->looseFocus(nullptr);
                return 0;
            }
            break;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN && control != nullptr) {
                control->looseFocus(nullptr);
                return 0;
            }
            if (wParam == VK_ESCAPE && control != nullptr) {
                // Escape cancels: the box closes on the text it opened with, so nothing is reported
                // and the display shows the current value again.
                SetWindowTextA(window, control->text);
                control->looseFocus(nullptr);
                return 0;
            }
            break;
        default:
            break;
    }
    return CallWindowProcA(previousEditProcedure, window, message, wParam, lParam);
}

bool CTextEdit::closeEditBox() {
    char before[kTextBufferSize];
    std::memcpy(before, text, sizeof text);
    // A limit of 255 bytes with the terminator: at most 254 characters are taken.
    GetWindowTextA(platformControl, text, kMostCharacters);
    text[kTextBufferSize - 1] = '\0';
    // Messages the box still receives while it goes (the loss of focus among them) must not reach
    // this control again.
    HWND box = platformControl;
    platformControl = nullptr;
    SetWindowLongPtrA(box, GWLP_USERDATA, 0);
    DestroyWindow(box);
    if (platformFont != nullptr) {
        DeleteObject(platformFont);
    }
    platformFont = nullptr;
    if (platformFontColor != nullptr) {
        DeleteObject(platformFontColor);
    }
    platformFontColor = nullptr;
    return std::strcmp(before, text) != 0;
}

void CTextEdit::looseFocus(CDrawContext* context) {
    // The frame clears its focus from here, and the box loses the keyboard focus as it goes: both
    // come back here while the first call is still closing.
    if (closing) {
        return;
    }
    closing = true;
    if (editing) {
        editing = false;
        endEdit();
    }
    if (parentFrame != nullptr && parentFrame->getFocusView() == this) {
        parentFrame->setFocusView(nullptr);
    }
    if (platformControl == nullptr) {
        closing = false;
        return;
    }
    const bool changed = closeEditBox();

    CDrawContext* callbackContext = context;
    CPoint keptOffset;
    bool shifted = false;
    if (callbackContext != nullptr) {
        callbackContext->remember();
    } else if (parentFrame != nullptr) {
        callbackContext = parentFrame->createDrawContext();
        if (parentView != nullptr) {
            CRect parentSize;
            parentView->getViewSize(parentSize);
            CPoint origin;
            parentView->localToFrame(origin);
            keptOffset = callbackContext->offset;
            callbackContext->offset = CPoint(parentSize.left + origin.h, parentSize.top + origin.v);
            shifted = true;
        }
    }
    if (changed && listener != nullptr) {
        listener->valueChanged(callbackContext, this);
    }
    if (callbackContext != nullptr) {
        if (shifted) {
            callbackContext->offset = keptOffset;
        }
        callbackContext->forget();
    }
    if (changed) {
        doIdleStuff();
    }
    if (parentView != nullptr) {
        parentView->notify(this, kMsgLooseFocus);
    } else if (parentFrame != nullptr) {
        parentFrame->notify(this, kMsgLooseFocus);
    }
    closing = false;
}

std::int32_t CTextEdit::onKeyDown(VstKeyCode& keyCode) {
    if (platformControl == nullptr) {
        return kKeyNotHandled;
    }
    // The interface's key codes of the keys an edit field uses: the virtual key the box knows, or the
    // character it gets for the key.
    struct BoxKey {
        unsigned char virt;
        WPARAM virtualKey;
        char character;
    };
    constexpr BoxKey kBoxKeys[] = {
        {1, 0, '\b'},      {4, VK_RETURN, 0}, {6, VK_ESCAPE, 0},  {7, 0, ' '},
        {9, VK_END, 0},    {10, VK_HOME, 0},  {11, VK_LEFT, 0},   {12, VK_UP, 0},
        {13, VK_RIGHT, 0}, {14, VK_DOWN, 0},  {19, VK_RETURN, 0}, {22, VK_DELETE, 0},
    };
    constexpr unsigned char kNumpad0 = 24;
    constexpr unsigned char kNumpad9 = 33;
    WPARAM virtualKey = 0;
    char character = 0;
    for (const BoxKey& key : kBoxKeys) {
        if (key.virt == keyCode.virt) {
            virtualKey = key.virtualKey;
            character = key.character;
        }
    }
    if (keyCode.virt >= kNumpad0 && keyCode.virt <= kNumpad9) {
        character = static_cast<char>('0' + (keyCode.virt - kNumpad0));
    } else if (keyCode.virt == 0 && (keyCode.character == '\r' || keyCode.character == '\n')) {
        virtualKey = VK_RETURN;  // hosts that send Return as its character alone
    } else if (keyCode.virt == 0 && keyCode.character > 0 && keyCode.character < 256) {
        character = static_cast<char>(keyCode.character);
    }
    if (virtualKey != 0) {
        // The box's own procedure sees it first, as with a key the system delivers: Return closes it.
        SendMessageA(platformControl, WM_KEYDOWN, virtualKey, 1);
        return 1;
    }
    if (character != 0) {
        SendMessageA(platformControl, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(character)), 1);
        return 1;
    }
    return kKeyNotHandled;
}

bool CTextEdit::isTypeOf(const char* className) const {
    return (className != nullptr && std::strcmp(className, "CTextEdit") == 0) || CParamDisplay::isTypeOf(className);
}

void CTextEdit::setText(const char* newText) {
    if (newText == nullptr) {
        if (text[0] != '\0') {
            text[0] = '\0';
            setDirty(true);
        }
        return;
    }
    char bounded[kTextBufferSize];
    copyBounded(bounded, newText);
    if (std::strcmp(bounded, text) == 0) {
        return;
    }
    std::memcpy(text, bounded, sizeof text);
    setDirty(true);
}

void CTextEdit::getText(char* out) const {
    if (out != nullptr) {
        std::memcpy(out, text, std::strlen(text) + 1);
    }
}

void CTextEdit::setTextEditConvert(EditConvertFunction2 convert, void* data) {
    editConvert2 = convert;
    userData = data;
}

void CTextEdit::setTextEditConvert(EditConvertFunction convert) {
    editConvert = convert;
}

HBRUSH CTextEdit::replaceEditBrush(HBRUSH brush) {
    HBRUSH previous = platformFontColor;
    platformFontColor = brush;
    return previous;
}

}  // namespace gui
