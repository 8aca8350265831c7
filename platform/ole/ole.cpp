// OLE initialisation, drop-target registration, storage media and the dropped-file list.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>

#include "platform/ole/drop_targets.h"
#include "platform/ole/global_memory.h"
#include "platform/subset/win32_ole.h"
#include "platform/window/window.h"

namespace platform {
namespace {

int oleInitialisations = 0;

std::map<HWND, IDropTarget*>& registrations() {
    static std::map<HWND, IDropTarget*> targets;
    return targets;
}

std::map<HGLOBAL, std::unique_ptr<std::string>>& blocks() {
    static std::map<HGLOBAL, std::unique_ptr<std::string>> allocated;
    return allocated;
}

struct DropFilesHeader {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};
static_assert(sizeof(DropFilesHeader) == 20);

}  // namespace

HGLOBAL allocateGlobal(const std::string& bytes) {
    auto block = std::make_unique<std::string>(bytes);
    HGLOBAL handle = block.get();
    blocks().emplace(handle, std::move(block));
    return handle;
}

const std::string* globalBytes(HGLOBAL block) {
    auto found = blocks().find(block);
    return found == blocks().end() ? nullptr : found->second.get();
}

bool freeGlobal(HGLOBAL block) {
    return blocks().erase(block) > 0;
}

std::string dropFilesBytes(const std::string* names, std::size_t count) {
    DropFilesHeader header{sizeof(DropFilesHeader), {0, 0}, FALSE, FALSE};
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (std::size_t i = 0; i < count; ++i) {
        bytes.append(names[i]).push_back('\0');
    }
    bytes.push_back('\0');
    return bytes;
}

IDropTarget* registeredDropTarget(HWND window) {
    auto found = registrations().find(window);
    return found == registrations().end() ? nullptr : found->second;
}

}  // namespace platform

using namespace platform;

extern "C" {

const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID IID_IDropTarget = {0x00000122, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

HRESULT OleInitialize(LPVOID) {
    return ++oleInitialisations == 1 ? S_OK : S_FALSE;
}

void OleUninitialize() {
    if (oleInitialisations > 0) {
        --oleInitialisations;
    }
}

HRESULT RegisterDragDrop(HWND window, IDropTarget* target) {
    if (oleInitialisations == 0) {
        return E_OUTOFMEMORY;  // what Windows answers before OleInitialize
    }
    if (target == nullptr) {
        return E_INVALIDARG;
    }
    if (!findWindow(window)) {
        return DRAGDROP_E_INVALIDHWND;
    }
    if (registeredDropTarget(window) != nullptr) {
        return DRAGDROP_E_ALREADYREGISTERED;
    }
    target->AddRef();
    registrations()[window] = target;
    return S_OK;
}

HRESULT RevokeDragDrop(HWND window) {
    IDropTarget* target = registeredDropTarget(window);
    if (target == nullptr) {
        return findWindow(window) ? DRAGDROP_E_NOTREGISTERED : DRAGDROP_E_INVALIDHWND;
    }
    registrations().erase(window);
    target->Release();
    return S_OK;
}

void ReleaseStgMedium(STGMEDIUM* medium) {
    if (medium == nullptr) {
        return;
    }
    if (medium->pUnkForRelease != nullptr) {
        medium->pUnkForRelease->Release();
    } else if (medium->tymed == TYMED_HGLOBAL) {
        freeGlobal(medium->hGlobal);
    }
    medium->tymed = TYMED_NULL;
    medium->hGlobal = nullptr;
    medium->pUnkForRelease = nullptr;
}

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size) {
    constexpr UINT kCountFiles = 0xFFFFFFFF;
    const std::string* bytes = globalBytes(drop);
    if (bytes == nullptr || bytes->size() < sizeof(DropFilesHeader)) {
        return 0;
    }
    DropFilesHeader header{};
    std::memcpy(&header, bytes->data(), sizeof header);
    if (header.fWide != FALSE || header.pFiles > bytes->size()) {
        return 0;  // wide names are not supported
    }
    UINT count = 0;
    for (std::size_t at = header.pFiles; at < bytes->size() && (*bytes)[at] != '\0'; ++count) {
        const std::size_t end = bytes->find('\0', at);
        const std::string name = bytes->substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (count == index) {
            if (file == nullptr) {
                return static_cast<UINT>(name.size());
            }
            if (size == 0) {
                return 0;
            }
            const std::size_t copied = std::min(name.size(), static_cast<std::size_t>(size) - 1);
            std::memcpy(file, name.data(), copied);
            file[copied] = '\0';
            return static_cast<UINT>(copied);
        }
        if (end == std::string::npos) {
            break;
        }
        at = end + 1;
    }
    return index == kCountFiles ? count : 0;
}

}  // extern "C"
