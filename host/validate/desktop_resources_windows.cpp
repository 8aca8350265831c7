// An editor's footprint on Windows: GDI and USER objects, kernel handles, child windows.
#include <windows.h>

#include "host/validate/desktop_resources.h"

namespace validate {
namespace {

BOOL CALLBACK countChild(HWND, LPARAM counter) {
    ++*reinterpret_cast<long*>(counter);
    return TRUE;
}

}  // namespace

ResourceCounts countResources(const ParentWindow& window) {
    DWORD handles = 0;
    GetProcessHandleCount(GetCurrentProcess(), &handles);
    long children = 0;
    EnumChildWindows(static_cast<HWND>(window.nativeHandle()), countChild, reinterpret_cast<LPARAM>(&children));
    return {{"GDI objects", static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))},
            {"USER objects", static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS))},
            {"handles", static_cast<long>(handles)},
            {"child windows", children}};
}

}  // namespace validate
