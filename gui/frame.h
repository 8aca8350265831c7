// CFrame: the root of the view tree and the toolkit's link to the platform: its child window inside the
// host's window, the window procedure, the back buffer, focus and modal views, keys, idle, resizing, and
// the editor services that controls reach through it.
#pragma once

#include <cstdint>

#include "gui/view_tree.h"
#include "platform/win32.h"

namespace gui {

class CDropTarget;

// Cursor types for setCursor.
constexpr std::int32_t kCursorDefault = 0;
constexpr std::int32_t kCursorWait = 1;
constexpr std::int32_t kCursorHSize = 2;
constexpr std::int32_t kCursorVSize = 3;
constexpr std::int32_t kCursorSizeAll = 4;
constexpr std::int32_t kCursorNESWSize = 5;
constexpr std::int32_t kCursorNWSESize = 6;
constexpr std::int32_t kCursorCopy = 7;
constexpr std::int32_t kCursorNotAllowed = 8;
constexpr std::int32_t kCursorHand = 9;

// Every operation belongs to the thread that created the frame, which owns its window: window
// messages, the host's editor calls and the controls' tracking loops all run there.
class CFrame : public CViewContainer {
public:
    // With a system window, creates the frame's child window inside it at once.
    CFrame(const CRect& size, void* systemWindow, CFrameEditor* editor);
    ~CFrame() override;

    using CViewContainer::draw;
    using CViewContainer::onWheel;

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& rect) override;
    void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons = -1) override;
    std::int32_t onKeyDown(VstKeyCode& keyCode) override;
    std::int32_t onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(CDrawContext* context, const CPoint& where, std::int32_t axis, float distance) override;
    void setViewSize(CRect& rect) override;
    CFrameEditor* getEditor() const override;
    bool isTypeOf(const char* className) const override;
    void update(CDrawContext* context) override;
    CView* getCurrentView() const override;
    bool advanceNextFocusView(CView* oldFocus, bool reverse = false) override;

    virtual bool open(CPoint* point = nullptr);
    virtual bool close();
    virtual bool isOpen() const;
    // Redraws the dirty views into the back buffer and the window; nothing before the first paint.
    virtual void idle();
    virtual void doIdleStuff();
    virtual std::uint32_t getTicks() const;
    virtual std::int32_t getKnobMode() const;
    virtual bool setPosition(std::int32_t x, std::int32_t y);
    virtual bool getPosition(std::int32_t& x, std::int32_t& y) const;
    virtual bool setSize(std::int32_t width, std::int32_t height);
    virtual bool getSize(CRect* rect) const;
    virtual bool getSize(CRect& rect) const;
    // While set, the modal view alone receives presses; it is also a child.
    virtual bool setModalView(CView* view);
    virtual CView* getModalView() const;
    virtual void beginEdit(std::int32_t index);
    virtual void endEdit(std::int32_t index);
    // The pointer relative to the frame's window.
    virtual bool getCurrentLocation(CPoint& where);
    virtual void setCursor(std::int32_t type);
    virtual void setFocusView(CView* view);
    virtual CView* getFocusView() const;
    virtual bool setDropActive(bool active);
    virtual bool isDropActive() const;
    virtual void setOpenFlag(bool open);
    virtual bool getOpenFlag() const;
    // Marks dirty every direct child that overlaps the rectangle.
    virtual void invalidate(const CRect& rect);
    // Answers the previous setting.
    virtual bool updatesDisabled(bool disabled);
    virtual bool updatesDisabled() const;
    // Draws one direct child (or, for any other view, the whole frame) straight to the window.
    virtual void draw(CView* view);

    // The frame context while the frame updates, else a new context over the window. Forget it after use.
    CDrawContext* createDrawContext();
    // The offscreen context of the frame's size through which drawing reaches the window.
    COffscreenContext* getBackBuffer();
    // The window of the host's that holds the frame: the first ancestor with a caption, without a
    // parent, or noticeably larger than the frame's window.
    HWND getOuterWindow() const;
    HWND getNativeWindow() const { return window; }
    void* getSystemWindow() const { return systemWindow; }

    // Destroys the frame at once or, while one of its calls is on the stack (a control's tracking loop
    // that let the host run, which closed the editor), when the outermost of them returns. Until then
    // the frame answers no buttons, so a gesture in progress ends at its next step, and the focus view
    // has been cleared. Without an editor nothing is reported back once this returns.
    void release(bool keepEditor = true);
    bool isReleasing() const { return releasing; }
    // The buttons and modifiers of the press being handled, as its message gave them, until the
    // gesture's first idle step; -1 otherwise. A press and release that arrive together (a quick
    // click, a tap) are then handled as the click they were, however late the press is read.
    std::int32_t getPressButtons() const { return pressButtons; }

    // Marks one of the frame's own calls as running for its lifetime: the window procedure, keys,
    // wheel and idle. A release waits for the outermost.
    class InUse {
    public:
        explicit InUse(CFrame* frame);
        ~InUse();
        InUse(const InUse&) = delete;
        InUse& operator=(const InUse&) = delete;

    private:
        CFrame* frame;
        CFrameEditor* holding;  // keeps its effect alive until the call has left
    };

    // The frame's window procedure; the frame is found in the window's user data.
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    void createWindow();
    void destroyWindow();
    std::int32_t offerKey(VstKeyCode& keyCode, bool down);
    void paint();
    void colourEditBox(HDC context, LRESULT& brush);
    // Resizes the windows from the frame's up to the host's, each by the margins its parent adds; true
    // when it stopped at a parent that belongs to the host.
    bool resizeWindowChain(std::int32_t width, std::int32_t height);

    CFrameEditor* editor;
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

private:
    // Only a successful OleInitialize is balanced; without OLE there is no drag and drop.
    bool oleInitialised = false;
    bool defaultCursorTaken = false;
    std::int32_t callsRunning = 0;
    std::int32_t pressButtons = -1;
    bool releasing = false;
};

}  // namespace gui
