// The bitmap controls that carry gestures: CSlider (used as CVerticalSlider), a handle image moved along
// a track image, and CVerticalSwitch, which shows one of several stacked images.
#pragma once

#include <cstdint>

#include "gui/control.h"

namespace gui {

// Slider styles.
constexpr std::int32_t kHorizontal = 1;
constexpr std::int32_t kVertical = 2;
constexpr std::int32_t kLeft = 8;
constexpr std::int32_t kRight = 16;
constexpr std::int32_t kTop = 32;
constexpr std::int32_t kBottom = 64;

// Every operation belongs to the frame's thread. The value may hold anything (hosts store NaN, infinities
// and values beyond the range unclamped): the handle is drawn within its travel whatever it holds.
class CSlider : public CControl {
public:
    // Positions are in the parent's coordinates, like the size.
    CSlider(const CRect& size, CControlListener* listener, std::int32_t tag, std::int32_t minPosition,
            std::int32_t maxPosition, CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint(),
            std::int32_t style = kLeft | kHorizontal);
    ~CSlider() override;

    using CControl::onWheel;

    void draw(CDrawContext* context) override;
    // Follows the pointer while the left button is held; shift moves it ten times slower.
    void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons = -1) override;
    // The arrow keys step by the wheel increment, a tenth of it with shift.
    std::int32_t onKeyDown(VstKeyCode& keyCode) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool removed(CView* parent) override;
    bool attached(CView* parent) override;
    bool isTypeOf(const char* className) const override;

    virtual void setDrawTransparentHandle(bool enabled);
    virtual void setFreeClick(bool enabled);
    virtual bool getFreeClick() const;
    virtual void setOffsetHandle(const CPoint& point);
    virtual void setHandle(CBitmap* handle);
    virtual CBitmap* getHandle() const;
    virtual void setZoomFactor(float factor);
    virtual float getZoomFactor() const;

protected:
    // Where the value puts the handle along the travel, in pixels from its start.
    std::int32_t handlePosition() const;
    bool vertical() const { return (style & kHorizontal) == 0; }
    void dropOffscreen();

    CPoint offset;
    CPoint offsetHandle;
    CBitmap* pHandle;
    COffscreenContext* pOScreen = nullptr;
    std::int32_t style;
    std::int32_t widthOfSlider = 1;
    std::int32_t heightOfSlider = 1;
    std::int32_t rangeHandle;
    std::int32_t minTmp = 0;
    std::int32_t maxTmp = 0;
    std::int32_t minPos;
    std::int32_t widthControl;
    std::int32_t heightControl;
    float zoomFactor = 10.0f;
    bool bDrawTransparentEnabled = true;
    bool bFreeClick = true;
};

// Value 0 at the bottom, 1 at the top.
class CVerticalSlider : public CSlider {
public:
    CVerticalSlider(const CRect& size, CControlListener* listener, std::int32_t tag, std::int32_t minPosition,
                    std::int32_t maxPosition, CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint());
};

// Every operation belongs to the frame's thread. Whatever the value holds, the image drawn is one of
// the strip's.
class CVerticalSwitch : public CControl {
public:
    CVerticalSwitch(const CRect& size, CControlListener* listener, std::int32_t tag, std::int32_t subPixmaps,
                    std::int32_t heightOfOneImage, std::int32_t iMaxPositions, CBitmap* background,
                    const CPoint& offset = CPoint());

    void draw(CDrawContext* context) override;
    // Selects the position under the pointer until the buttons change.
    void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons = -1) override;
    bool isTypeOf(const char* className) const override;

protected:
    CPoint offset;
    std::int32_t subPixmaps;
    std::int32_t heightOfOneImage;
    std::int32_t iMaxPositions;
};

}  // namespace gui
