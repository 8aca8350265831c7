// CFrame: the root of the view tree, which keeps the focus view, the back buffer and the blending library.
#pragma once

#include <cstdint>

#include "gui/view_tree.h"
#include "platform/win32.h"

namespace gui {

class CDropTarget;

// Every operation belongs to the thread of the frame's window.
class CFrame : public CViewContainer {
public:
    CFrame(const CRect& size, void* systemWindow, AEffGUIEditor* editor);
    ~CFrame() override;

    using CViewContainer::draw;

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& rect) override;
    AEffGUIEditor* getEditor() const override;
    bool isTypeOf(const char* className) const override;

    // Relative to the frame's window.
    virtual bool getCurrentLocation(CPoint& where);
    virtual void setFocusView(CView* view);
    virtual CView* getFocusView() const;
    // Draws one direct child (or, for any other view, the whole frame) straight to the window.
    virtual void draw(CView* view);

    // The frame context while the frame updates, else a new context over the window. Forget it after use.
    CDrawContext* createDrawContext();
    // The offscreen context of the frame's size through which drawing reaches the window.
    COffscreenContext* getBackBuffer();
    HWND getNativeWindow() const { return window; }
    void* getSystemWindow() const { return systemWindow; }

protected:
    AEffGUIEditor* editor;
    void* systemWindow;
    CView* modalView = nullptr;
    CView* focusView = nullptr;
    bool bFirstDraw = true;
    bool bOpenFlag = true;
    bool bDropActive = false;
    bool bUpdatesDisabled = false;
    HWND window = nullptr;
    HMODULE blendingLibrary = nullptr;
    CDropTarget* dropTarget = nullptr;
    COffscreenContext* backBuffer = nullptr;
    CDrawContext* frameContext = nullptr;
    bool bAddedWindow = false;
    void* separateWindow = nullptr;
    HCURSOR defaultCursor = nullptr;
};

}  // namespace gui
