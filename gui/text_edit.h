// Values as text: CParamDisplay draws a control's value in a box through a conversion its owner installs;
// CTextEdit makes the box editable in a native edit box opened over it.
#pragma once

#include <cstdint>

#include "gui/control.h"
#include "platform/win32.h"

namespace gui {

// Styles a display tests; every other bit is ignored.
constexpr std::int32_t kShadowText = 4;
constexpr std::int32_t k3DIn = 128;
constexpr std::int32_t k3DOut = 256;
constexpr std::int32_t kNoTextStyle = 2048;
constexpr std::int32_t kNoDrawStyle = 4096;
constexpr std::int32_t kDoubleClickStyle = 8192;
constexpr std::int32_t kNoFrame = 16384;

// The text buffers that conversions write into hold this many bytes, terminator included.
constexpr std::size_t kTextBufferSize = 256;

using StringConvertFunction = void (*)(float value, char* text);
using StringConvertFunction2 = void (*)(float value, char* text, void* userData);
using String2FloatConvertFunction = void (*)(char* text, float& value);
using EditConvertFunction = void (*)(char* input, char* text);
using EditConvertFunction2 = void (*)(char* input, char* text, void* userData);

// Every operation belongs to the frame's thread.
class CParamDisplay : public CControl {
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, std::int32_t style = 0);

    void draw(CDrawContext* context) override;
    bool isTypeOf(const char* className) const override;

    virtual void setFont(std::int32_t fontId);
    virtual void setFontColor(const CColor& color);
    virtual void setBackColor(const CColor& color);
    virtual void setFrameColor(const CColor& color);
    virtual void setShadowColor(const CColor& color);
    virtual void setHoriAlign(std::int32_t alignment);
    virtual void setStringConvert(StringConvertFunction2 convert, void* userData);
    virtual void setStringConvert(StringConvertFunction convert);
    virtual void setString2FloatConvert(String2FloatConvertFunction convert);
    virtual void setStyle(std::int32_t style);
    virtual void setTxtFace(std::int32_t face);
    virtual void setTextTransparency(bool enabled);

    std::int32_t getFont() const { return fontID; }
    CColor getFontColor() const { return fontColor; }
    CColor getBackColor() const { return backColor; }
    std::int32_t getStyle() const { return style; }

protected:
    // Draws the box and the string, optionally over an extra background image.
    void drawText(CDrawContext* context, const char* string, CBitmap* extraBackground = nullptr);
    // The value as text: the installed conversion, else "%2.2f" (of a finite value).
    void valueToText(char* text) const;

    StringConvertFunction stringConvert = nullptr;
    StringConvertFunction2 stringConvert2 = nullptr;
    String2FloatConvertFunction string2FloatConvert = nullptr;
    void* userData = nullptr;
    std::int32_t horiTxtAlign;
    std::int32_t style;
    std::int32_t fontID;
    std::int32_t txtFace = 0;
    CColor fontColor;
    CColor backColor;
    CColor frameColor;
    CColor shadowColor;
    bool bTextTransparencyEnabled = true;
};

// Every operation belongs to the frame's thread, as does the native edit box while it is open.
class CTextEdit : public CParamDisplay {
public:
    CTextEdit(const CRect& size, CControlListener* listener, std::int32_t tag, const char* text = nullptr,
              CBitmap* background = nullptr, std::int32_t style = 0);
    ~CTextEdit() override;

    void draw(CDrawContext* context) override;
    // A left click opens the edit box (with kDoubleClickStyle, the second of two quick clicks).
    void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons = -1) override;
    // Closes the edit box, takes its text, and tells the listener when the text changed.
    void looseFocus(CDrawContext* context = nullptr) override;
    // Opens the edit box exactly over the display.
    void takeFocus(CDrawContext* context = nullptr) override;
    bool isTypeOf(const char* className) const override;
    // While the edit box is open, keys that the host passes on (hosts that keep the keyboard focus
    // forward them) go to the box as the system would send them: answered 1. Otherwise not taken.
    std::int32_t onKeyDown(VstKeyCode& keyCode) override;

    // At most 255 characters are kept, whatever the caller passes.
    virtual void setText(const char* text);
    virtual void getText(char* text) const;
    virtual void setTextEditConvert(EditConvertFunction2 convert, void* userData);
    virtual void setTextEditConvert(EditConvertFunction convert);

    HWND getEditBox() const { return platformControl; }
    // The frame colours the edit box while it paints; the brush of the last time is kept here.
    HBRUSH replaceEditBrush(HBRUSH brush);

    // The edit box's window procedure, which takes Return and the loss of the keyboard focus.
    static LRESULT CALLBACK editProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Takes the box's text, destroys the box and its font and brush; answers whether the text changed.
    bool closeEditBox();

    HBRUSH platformFontColor = nullptr;
    HWND platformControl = nullptr;
    HFONT platformFont = nullptr;
    char text[kTextBufferSize] = "";
    EditConvertFunction editConvert = nullptr;
    EditConvertFunction2 editConvert2 = nullptr;

private:
    // Set between the press that opened the box and the loss of focus that closes it, so the host's
    // gesture is closed exactly once.
    bool editing = false;
    bool closing = false;
};

}  // namespace gui
