// Conformance helpers for real Windows: file lists are global memory in the shell's DROPFILES layout.
#include <shlobj.h>

#include <cstring>

#include "tests/conformance/support.h"

namespace conformance {

HDROP makeFileList(const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& file : files) {
        names.append(file).push_back('\0');
    }
    names.push_back('\0');
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

void freeFileList(HDROP files) {
    GlobalFree(files);
}

}  // namespace conformance
