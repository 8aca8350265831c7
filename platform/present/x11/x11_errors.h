// X protocol errors and lost connections on the plug-in's own connections, kept from the host's
// handlers and from Xlib's defaults, which would end the host's process.
#pragma once

#include "platform/present/x11/x11_library.h"

namespace platform::x11 {

// A connection of ours: its errors are counted, never reported to the host's handler, and its loss (the
// server dropping it, as xkill makes it) is noted instead of ending the process. Any thread.
void adoptConnection(const Library& x, Display* display);
void forgetConnection(const Library& x, Display* display);
// Errors on the connection since the last call; the caller syncs first to have them all.
int takeErrors(Display* display);
// The server is gone for this connection. Xlib sends nothing more on it; the caller makes no requests
// either, and only frees what is its own (XFreeGC, XDestroyImage and XCloseDisplay still do that).
bool lost(Display* display);

}  // namespace platform::x11
