// CDragContainer: asks the data object for text, then for a list of files, and counts the items.
#include <cstdlib>

#include "gui/drag_drop.h"

namespace gui {
namespace {

constexpr UINT kCountFiles = 0xFFFFFFFF;

// Asks for one format in global memory; the medium is released as soon as the answer is read.
bool holds(IDataObject* data, CLIPFORMAT format, std::int32_t* files) {
    FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&wanted, &medium))) {
        return false;
    }
    if (files != nullptr && medium.tymed == TYMED_HGLOBAL) {
        *files = static_cast<std::int32_t>(DragQueryFileA(static_cast<HDROP>(medium.hGlobal), kCountFiles, nullptr, 0));
    }
    ReleaseStgMedium(&medium);
    return true;
}

}  // namespace

CDragContainer::CDragContainer(IDataObject* drag) : platformDrag(drag) {
    if (platformDrag == nullptr) {
        return;
    }
    if (holds(platformDrag, CF_TEXT, nullptr)) {
        nbItems = 1;
        return;
    }
    std::int32_t files = 0;
    if (holds(platformDrag, CF_HDROP, &files)) {
        nbItems = files;
    }
}

CDragContainer::~CDragContainer() {
    std::free(lastItem);
}

}  // namespace gui
