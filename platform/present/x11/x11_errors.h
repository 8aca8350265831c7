// X protocol errors on the plug-in's own connections, kept from the host's and from Xlib's default,
// which would end the host's process.
#pragma once

#include "platform/present/x11/x11_library.h"

namespace platform::x11 {

// A connection of ours: its errors are counted, never reported to the host's handler. Any thread.
void adoptConnection(const Library& x, Display* display);
void forgetConnection(const Library& x, Display* display);
// Errors on the connection since the last call; the caller syncs first to have them all.
int takeErrors(Display* display);

}  // namespace platform::x11
