// Opening libX11 and libXext with dlopen and taking the presenter's functions from them.
#include "platform/present/x11/x11_library.h"

#include <dlfcn.h>

namespace platform::x11 {
namespace {

template <typename Function>
bool take(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
    return function != nullptr;
}

bool load(Library& x) {
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (xlib == nullptr) {
        return false;
    }
    const bool complete =
        take(xlib, "XOpenDisplay", x.openDisplay) && take(xlib, "XCloseDisplay", x.closeDisplay) &&
        take(xlib, "XSetErrorHandler", x.setErrorHandler) && take(xlib, "XSetIOErrorHandler", x.setIOErrorHandler) &&
        take(xlib, "XSync", x.sync) && take(xlib, "XFlush", x.flush) && take(xlib, "XPending", x.pending) &&
        take(xlib, "XNextEvent", x.nextEvent) && take(xlib, "XGetWindowAttributes", x.getWindowAttributes) &&
        take(xlib, "XCreateWindow", x.createWindow) && take(xlib, "XDestroyWindow", x.destroyWindow) &&
        take(xlib, "XMapWindow", x.mapWindow) && take(xlib, "XMoveResizeWindow", x.moveResizeWindow) &&
        take(xlib, "XSelectInput", x.selectInput) && take(xlib, "XCreateGC", x.createGC) &&
        take(xlib, "XFreeGC", x.freeGC) && take(xlib, "XCreateImage", x.createImage) &&
        take(xlib, "XPutImage", x.putImage) && take(xlib, "XQueryPointer", x.queryPointer) &&
        take(xlib, "XSetInputFocus", x.setInputFocus) && take(xlib, "XLookupString", x.lookupString) &&
        take(xlib, "XRefreshKeyboardMapping", x.refreshKeyboardMapping) && take(xlib, "XFree", x.free);
    if (!complete) {
        dlclose(xlib);
        return false;
    }
    take(xlib, "XSetIOErrorExitHandler", x.setIOErrorExitHandler);
    // Without the extension images travel through the connection instead.
    if (void* xext = dlopen("libXext.so.6", RTLD_NOW | RTLD_LOCAL)) {
        const bool shared = take(xext, "XShmQueryExtension", x.shmQueryExtension) &&
                            take(xext, "XShmCreateImage", x.shmCreateImage) && take(xext, "XShmAttach", x.shmAttach) &&
                            take(xext, "XShmDetach", x.shmDetach) && take(xext, "XShmPutImage", x.shmPutImage);
        if (!shared) {
            x.shmPutImage = nullptr;
            dlclose(xext);
        }
    }
    return true;
}

}  // namespace

const Library* library() {
    static Library x{};
    static const bool loaded = load(x);
    return loaded ? &x : nullptr;
}

}  // namespace platform::x11
