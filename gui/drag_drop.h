// Drag and drop onto the frame's window: CDropTarget turns OLE's drag events into the view tree's drag
// operations, and CDragContainer wraps the dragged data and counts its items.
#pragma once

#include <cstdint>

#include "gui/types.h"
#include "platform/win32.h"

namespace gui {

class CFrame;

// The dragged data, from DragEnter to DragLeave or Drop. User-interface thread.
class CDragContainer : public CReferenceCounter {
public:
    // Counts the items at once: one text, or the number of dropped files; 0 for anything else.
    explicit CDragContainer(IDataObject* platformDrag);
    ~CDragContainer() override;

    std::int32_t getCount() const { return nbItems; }
    IDataObject* getPlatformDrag() const { return platformDrag; }

private:
    IDataObject* platformDrag;  // valid for the duration of the drag; not counted
    std::int32_t nbItems = 0;
    [[maybe_unused]] std::int32_t iterator = 0;  // kept for the item walk; nothing walks yet
    void* lastItem = nullptr;
};

// COM interfaces have no virtual destructor by design: objects destroy themselves in Release, never
// through an interface pointer.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
// Registered for the frame's window while drop is active; OLE holds it by reference count and calls it
// on the window's thread. No view takes dropped data, so no answer ever tells the source to move it.
class CDropTarget : public IDropTarget {
public:
    explicit CDropTarget(CFrame* frame);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point, DWORD* effect) override;
    virtual ~CDropTarget();

    // The frame goes before OLE lets go of the target: from now on events reach no view.
    void detach() { frame = nullptr; }
    // The drag in progress in this library, or null.
    static CDragContainer* currentDrag();

private:
    std::int32_t refCount = 0;
    [[maybe_unused]] bool accept = false;  // no view takes drops, so nothing reads it
    CFrame* frame;
};
#pragma GCC diagnostic pop

}  // namespace gui
