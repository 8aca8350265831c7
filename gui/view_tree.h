// The retained view tree: the view base CView and the container CViewContainer that owns, draws and routes.
#pragma once

#include <cstdint>

#include "gui/types.h"

namespace gui {

class CBitmap;
class CFrameEditor;
class CDragContainer;
class CDrawContext;
class CFrame;
class COffscreenContext;

// The one identifier that asks a view whether it is a container; receivers compare the pointer.
extern const char* const kMsgCheckIfViewContainer;

// Every operation belongs to the thread of the frame's window.
class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    virtual bool checkUpdate(const CRect& updateRect);
    virtual void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons = -1);
    virtual void setBackground(CBitmap* background);
    virtual CBitmap* getBackground() const;
    virtual std::int32_t onKeyDown(VstKeyCode& keyCode);
    virtual std::int32_t onKeyUp(VstKeyCode& keyCode);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, std::int32_t axis, float distance);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
    virtual bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where);
    virtual void looseFocus(CDrawContext* context = nullptr);
    virtual void takeFocus(CDrawContext* context = nullptr);
    virtual bool isDirty() const;
    virtual void setDirty(bool state = true);
    virtual void setMouseEnabled(bool enabled = true);
    virtual bool getMouseEnabled() const;
    virtual void setMouseableArea(const CRect& rect);
    virtual CRect& getMouseableArea(CRect& rect) const;
    virtual bool hitTest(const CPoint& where, std::int32_t buttons = -1);
    virtual void setTransparency(bool enabled);
    virtual bool getTransparency() const;
    virtual void setViewSize(CRect& rect);
    virtual CRect& getViewSize(CRect& rect) const;
    virtual bool removed(CView* parent);
    virtual bool attached(CView* parent);
    virtual void getMouseLocation(CDrawContext* context, CPoint& point);
    virtual CPoint& frameToLocal(CPoint& point) const;
    virtual CPoint& localToFrame(CPoint& point) const;
    virtual CFrameEditor* getEditor() const;
    virtual CMessageResult notify(CView* sender, const char* message);
    virtual void redrawRect(CDrawContext* context, const CRect& rect);
    virtual bool wantsFocus() const;
    virtual void setWantsFocus(bool state);
    virtual bool isTypeOf(const char* className) const;
    virtual void update(CDrawContext* context);

    CFrame* getFrame() const { return parentFrame; }
    CView* getParentView() const { return parentView; }

protected:
    friend class CViewContainer;  // sets the parents of the views it adopts

    CRect size;
    CRect mouseableArea;
    CFrame* parentFrame = nullptr;
    CView* parentView = nullptr;
    bool bDirty = false;
    bool bMouseEnabled = true;
    bool bTransparencyEnabled = false;
    bool bWantsFocus = false;
    CBitmap* pBackground = nullptr;
};

// Update modes of a container.
constexpr std::int32_t kNormalUpdate = 0;
constexpr std::int32_t kOnlyDirtyUpdate = 1;

// A view that owns children by reference, draws them in list order (last on top), and routes presses,
// keys, wheel turns and drags to them.
class CViewContainer : public CView {
public:
    CViewContainer(const CRect& size, CFrame* frame = nullptr, CBitmap* background = nullptr);
    ~CViewContainer() override;

    using CView::onWheel;

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void mouse(CDrawContext* context, CPoint& where, std::int32_t buttons = -1) override;
    std::int32_t onKeyDown(VstKeyCode& keyCode) override;
    std::int32_t onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(CDrawContext* context, const CPoint& where, std::int32_t axis, float distance) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool onDrop(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragEnter(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragLeave(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void onDragMove(CDrawContext* context, CDragContainer* drag, const CPoint& where) override;
    void looseFocus(CDrawContext* context = nullptr) override;
    void takeFocus(CDrawContext* context = nullptr) override;
    bool isDirty() const override;
    void setViewSize(CRect& rect) override;
    bool removed(CView* parent) override;
    bool attached(CView* parent) override;
    CPoint& frameToLocal(CPoint& point) const override;
    CPoint& localToFrame(CPoint& point) const override;
    CMessageResult notify(CView* sender, const char* message) override;
    void redrawRect(CDrawContext* context, const CRect& rect) override;
    bool isTypeOf(const char* className) const override;
    void update(CDrawContext* context) override;

    virtual void addView(CView* view, const CRect& mouseableArea, bool mouseEnabled = true);
    virtual void addView(CView* view);
    virtual void removeView(CView* view, bool withForget = true);
    virtual void removeAll(bool withForget = true);
    virtual bool isChild(CView* view) const;
    virtual std::int32_t getNbViews() const;
    virtual CView* getView(std::int32_t index) const;
    virtual void setBackgroundColor(const CColor& color);
    virtual CColor getBackgroundColor() const;
    virtual void setBackgroundOffset(const CPoint& offset);
    virtual const CPoint& getBackgroundOffset() const;
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
    virtual void setMode(std::int32_t mode);
    virtual std::int32_t getMode() const;
    virtual void useOffscreen(bool enabled);
    virtual CView* getCurrentView() const;
    virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
    virtual bool advanceNextFocusView(CView* oldFocus, bool reverse = false);

    COffscreenContext* getOffscreen() const { return pOffscreenContext; }

protected:
    struct ChildEntry {
        explicit ChildEntry(CView* child);
        ~ChildEntry();
        ChildEntry(const ChildEntry&) = delete;
        ChildEntry& operator=(const ChildEntry&) = delete;
        CView* view;
        ChildEntry* next = nullptr;
        ChildEntry* previous = nullptr;
    };

    // The target of a draw: this container's offscreen context, or the given one shifted to its origin.
    CDrawContext* beginDrawing(CDrawContext* context);
    void endDrawing(CDrawContext* context, const CRect& source, const CRect& destination);
    // The given context's clip in the target's coordinates, as the children's clips are bounded by.
    CRect clipForChildren(CDrawContext* context) const;
    // A point in the parent's coordinates made local to this container.
    CPoint toLocal(const CPoint& where) const;
    void changeDragView(CView* child, bool enter, CDrawContext* context, CDragContainer* drag, const CPoint& local);
    // The child whose mouseable area holds a point in this container's coordinates, last added first.
    CView* childAt(const CPoint& local) const;
    // Remembers offscreen drawing in a context of this container's size, cleared to black.
    void makeOffscreen();
    void dropOffscreen();

    ChildEntry* pFirstView = nullptr;
    ChildEntry* pLastView = nullptr;
    std::int32_t mode = kOnlyDirtyUpdate;
    COffscreenContext* pOffscreenContext = nullptr;
    CColor backgroundColor = kBlackCColor;
    CPoint backgroundOffset;
    bool bDrawInOffscreen = false;
    CView* currentDragView = nullptr;
};

}  // namespace gui
