// Drawing over a GDI device context: colours, pen, font and clip kept and cached, lines, rectangles,
// text, the mouse state, and COffscreenContext over a memory bitmap.
#pragma once

#include <cstdint>

#include "gui/types.h"
#include "platform/win32.h"

namespace gui {

class CBitmap;
class CFrame;

// Standard fonts, by id.
constexpr std::int32_t kSystemFont = 0;
constexpr std::int32_t kNormalFontVeryBig = 1;
constexpr std::int32_t kNormalFontBig = 2;
constexpr std::int32_t kNormalFont = 3;
constexpr std::int32_t kNormalFontSmall = 4;
constexpr std::int32_t kNormalFontSmaller = 5;
constexpr std::int32_t kNormalFontVerySmall = 6;
constexpr std::int32_t kSymbolFont = 7;
constexpr std::int32_t kNumStandardFonts = 8;

struct StandardFont {
    const char* face;
    std::int32_t size;  // character height in pixels
};
extern const StandardFont kStandardFonts[kNumStandardFonts];

// Font style flags.
constexpr std::int32_t kBoldFace = 1;
constexpr std::int32_t kItalicFace = 2;
constexpr std::int32_t kUnderlineFace = 4;

// Horizontal text alignment.
constexpr std::int32_t kLeftText = 0;
constexpr std::int32_t kCenterText = 1;
constexpr std::int32_t kRightText = 2;

constexpr std::int32_t kSolidLine = 0;
constexpr std::int32_t kDashedLine = 1;
constexpr std::int32_t kCopyMode = 0;

// Lives for one drawing or event, or as a back buffer. User-interface thread only.
class CDrawContext : public CReferenceCounter {
public:
    // Without a device context but with a window, the context takes the window's own (GetDC).
    CDrawContext(CFrame* frame, HDC systemContext, HWND window);
    ~CDrawContext() override;

    void setFrameColor(const CColor& color);
    CColor getFrameColor() const { return frameColor; }
    void setLineWidth(std::int32_t width);
    std::int32_t getLineWidth() const { return lineWidth; }
    void setLineStyle(std::int32_t style);
    std::int32_t getLineStyle() const { return lineStyle; }
    void setFillColor(const CColor& color);
    CColor getFillColor() const { return fillColor; }
    void setFontColor(const CColor& color);
    CColor getFontColor() const { return fontColor; }
    void setDrawMode(std::int32_t mode);
    std::int32_t getDrawMode() const { return drawMode; }
    // An id outside the standard table means the system font.
    void setFont(std::int32_t fontId, std::int32_t style = 0);
    std::int32_t getFont() const { return fontId; }
    std::int32_t getFontSize() const { return fontSize; }
    std::int32_t getFontStyle() const { return fontStyle; }
    // Given and answered without the drawing offset; stored and compared in device coordinates.
    void setClipRect(const CRect& clip);
    CRect& getClipRect(CRect& clip) const;

    // Each pair of points is one segment.
    void drawLines(const CPoint* points, std::int32_t count);
    // The outline on the rectangle's own outermost pixels.
    void drawRect(const CRect& rect);
    // Leaves the left column and top row to the outline.
    void fillRect(const CRect& rect);
    void drawString(const char* text, const CRect& rect, bool opaque = false, std::int32_t alignment = kCenterText);

    std::int32_t getMouseButtons();
    void getMouseLocation(CPoint& point);

    HDC getSystemContext() const { return systemContext; }
    CFrame* getFrame() const { return frame; }

    // The window's top-left on the screen, and the offset added to everything drawn: containers raise it
    // while their children draw.
    CPoint offsetScreen;
    CPoint offset;

protected:
    // Builds a context without a device context yet, as the offscreen context does before it makes one.
    struct WithoutDevice {};
    CDrawContext(CFrame* frame, WithoutDevice);
    void applyDefaults();
    // Draws into a device context from now on, keeping what it had selected to give back at the end.
    void takeDevice(HDC context);
    // Starts drawing into a device context made after construction, with the state recorded so far.
    void adoptDevice(HDC context);
    // Selects the objects found at the start back and deletes the context's own.
    void releaseDeviceObjects();
    void replacePen();
    void applyFill();
    void applyFont();
    void applyDrawMode();

    HDC systemContext = nullptr;
    HWND window = nullptr;
    CFrame* frame = nullptr;
    std::int32_t fontSize = -1;
    std::int32_t fontStyle = 0;
    std::int32_t fontId = kNumStandardFonts;
    CColor fontColor{};
    CPoint penLocation;
    std::int32_t lineWidth = 0;
    CColor frameColor{};
    CColor fillColor{};
    std::int32_t lineStyle = kDashedLine;
    std::int32_t drawMode = 3;  // no setter uses it, so the first setDrawMode takes effect
    CRect clipRect;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    HGDIOBJ previousBrush = nullptr;
    HGDIOBJ previousPen = nullptr;
    HGDIOBJ previousFont = nullptr;
    UINT penStyle = PS_SOLID;
    HDC ownContext = nullptr;
};

// A drawing context over a memory bitmap of a given size, cleared to a colour at construction.
class COffscreenContext : public CDrawContext {
public:
    COffscreenContext(CFrame* frame, std::int32_t width, std::int32_t height, const CColor& background = kBlackCColor);
    ~COffscreenContext() override;

    // Copies the rectangle's size from this bitmap at the source offset to the destination at the
    // rectangle's top-left (plus the destination's drawing offset).
    void copyFrom(CDrawContext* destination, const CRect& destinationRect, const CPoint& sourceOffset = CPoint());

    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }

private:
    CBitmap* bitmap = nullptr;
    [[maybe_unused]] CBitmap* backgroundBitmap = nullptr;  // no offscreen context draws a background image
    std::int32_t height;
    std::int32_t width;
    CColor backgroundColor;
    bool destroyBitmap = true;
    HGDIOBJ previousBitmap = nullptr;
    HBITMAP memoryBitmap = nullptr;
};

}  // namespace gui
