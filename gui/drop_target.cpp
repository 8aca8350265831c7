// CDropTarget: OLE's drag events routed to the view under the pointer, and the frame's side of
// registering the target for its window.
#include "gui/drag_drop.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "platform/interface_lock.h"

namespace gui {
namespace {

// One drag at a time in this library: OLE delivers a drag's events on the window's thread.
CDragContainer* currentDragContainer = nullptr;

void endDrag() {
    if (currentDragContainer != nullptr) {
        currentDragContainer->forget();
    }
    currentDragContainer = nullptr;
}

// What the source hears: a copy at most, since no view takes the data; never a move, after which a
// source may delete what was dragged.
void answerEffect(DWORD* effect, bool taken) {
    if (effect != nullptr) {
        *effect = taken ? (*effect & DROPEFFECT_COPY) : DROPEFFECT_NONE;
    }
}

// Calls one drag operation of the frame with the pointer in the frame's coordinates.
template <typename Operation>
auto withPointer(CFrame* frame, Operation operation) {
    // OLE calls here from Windows' message loop; a drop may reach the host.
    const platform::InterfaceLock locked;
    const CFrame::InUse running(frame);
    CDrawContext* context = frame->createDrawContext();
    CPoint where;
    frame->getMouseLocation(context, where);
    auto result = operation(context, where);
    if (context != nullptr) {
        context->forget();
    }
    return result;
}

}  // namespace

CDropTarget::CDropTarget(CFrame* owner) : frame(owner) {}

CDropTarget::~CDropTarget() = default;

CDragContainer* CDropTarget::currentDrag() {
    return currentDragContainer;
}

HRESULT STDMETHODCALLTYPE CDropTarget::QueryInterface(REFIID iid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualGUID(iid, IID_IDropTarget) || IsEqualGUID(iid, IID_IUnknown)) {
        *object = this;
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CDropTarget::AddRef() {
    return static_cast<ULONG>(++refCount);
}

ULONG STDMETHODCALLTYPE CDropTarget::Release() {
    if (--refCount > 0) {
        return static_cast<ULONG>(refCount);
    }
    delete this;
    return 0;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragEnter(IDataObject* data, DWORD /*keyState*/, POINTL /*point*/,
                                                 DWORD* effect) {
    if (data == nullptr || frame == nullptr) {
        answerEffect(effect, false);
        return S_OK;
    }
    endDrag();  // a drag that never left
    currentDragContainer = new CDragContainer(data);
    withPointer(frame, [&](CDrawContext* context, const CPoint& where) {
        frame->onDragEnter(context, currentDragContainer, where);
        return 0;
    });
    answerEffect(effect, true);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragOver(DWORD /*keyState*/, POINTL /*point*/, DWORD* effect) {
    if (currentDragContainer == nullptr) {
        return S_OK;
    }
    if (frame != nullptr) {
        withPointer(frame, [&](CDrawContext* context, const CPoint& where) {
            frame->onDragMove(context, currentDragContainer, where);
            return 0;
        });
    }
    answerEffect(effect, frame != nullptr);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::DragLeave() {
    if (currentDragContainer == nullptr) {
        return S_OK;
    }
    if (frame != nullptr) {
        withPointer(frame, [&](CDrawContext* context, const CPoint& where) {
            frame->onDragLeave(context, currentDragContainer, where);
            return 0;
        });
    }
    endDrag();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDropTarget::Drop(IDataObject* /*data*/, DWORD /*keyState*/, POINTL /*point*/,
                                            DWORD* effect) {
    if (currentDragContainer == nullptr) {
        return S_OK;
    }
    bool taken = false;
    if (frame != nullptr) {
        taken = withPointer(frame, [&](CDrawContext* context, const CPoint& where) {
            return frame->onDrop(context, currentDragContainer, where);
        });
    }
    endDrag();
    // OLE hands the source whatever the target leaves here, so it is always written.
    answerEffect(effect, taken);
    return S_OK;
}

bool CFrame::setDropActive(bool active) {
    if (!bDropActive && !active) {
        return true;
    }
    if (window == nullptr) {
        return false;
    }
    if (dropTarget != nullptr) {
        dropTarget->detach();
        RevokeDragDrop(window);  // OLE lets go of it, which deletes it
        dropTarget = nullptr;
    }
    if (active) {
        // Held for the call: a refused registration then deletes it.
        auto* target = new CDropTarget(this);
        target->AddRef();
        if (oleInitialised && RegisterDragDrop(window, target) == S_OK) {
            dropTarget = target;
        }
        target->Release();
        if (dropTarget == nullptr) {
            bDropActive = false;
            return false;
        }
    }
    bDropActive = active;
    return true;
}

}  // namespace gui
