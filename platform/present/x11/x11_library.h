// The X client libraries, opened at run time so that the plug-in loads where no X is installed.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>

namespace platform::x11 {

// What Xlib calls once a connection is lost, when the process-wide handler returned (libX11 1.7 on).
using IOErrorExitHandler = void (*)(Display*, void*);

// The functions the presenter calls, each taken from libX11 or libXext by its own name.
struct Library {
    decltype(&::XOpenDisplay) openDisplay;
    decltype(&::XCloseDisplay) closeDisplay;
    decltype(&::XSetErrorHandler) setErrorHandler;
    decltype(&::XSetIOErrorHandler) setIOErrorHandler;
    // Null before libX11 1.7, where a lost connection ends the process whatever the handler does.
    void (*setIOErrorExitHandler)(Display*, IOErrorExitHandler, void*);
    decltype(&::XSync) sync;
    decltype(&::XFlush) flush;
    decltype(&::XPending) pending;
    decltype(&::XNextEvent) nextEvent;
    decltype(&::XGetWindowAttributes) getWindowAttributes;
    decltype(&::XCreateWindow) createWindow;
    decltype(&::XDestroyWindow) destroyWindow;
    decltype(&::XMapWindow) mapWindow;
    decltype(&::XMoveResizeWindow) moveResizeWindow;
    decltype(&::XSelectInput) selectInput;
    decltype(&::XCreateGC) createGC;
    decltype(&::XFreeGC) freeGC;
    decltype(&::XCreateImage) createImage;
    decltype(&::XPutImage) putImage;
    decltype(&::XQueryPointer) queryPointer;
    decltype(&::XSetInputFocus) setInputFocus;
    decltype(&::XLookupString) lookupString;
    decltype(&::XRefreshKeyboardMapping) refreshKeyboardMapping;
    decltype(&::XFree) free;
    // The shared-memory extension; null where libXext is missing.
    decltype(&::XShmQueryExtension) shmQueryExtension;
    decltype(&::XShmCreateImage) shmCreateImage;
    decltype(&::XShmAttach) shmAttach;
    decltype(&::XShmDetach) shmDetach;
    decltype(&::XShmPutImage) shmPutImage;

    bool hasSharedMemory() const { return shmPutImage != nullptr; }
};

// Opens the libraries at the first call (they then stay for the life of the process: Xlib keeps the
// error handler it was given); null when libX11 cannot be opened. Any thread.
const Library* library();

}  // namespace platform::x11
