// The desktop that editors' windows are shown on, for the plug-in's editor requests on Linux.
#pragma once

namespace platform::desktop {

// Before an editor opens in a host's X11 window (its id): loads the X libraries, opens a connection of
// the plug-in's own to the display named by DISPLAY and checks the host's window is there. False when
// any of it fails; the editor then stays closed. With the test driver running, or for a parent window
// of the subset's own, the editor's window stays a surface in memory and this answers true. User-interface thread, as
// are the others.
bool connect(void* hostWindow);
// After an open that failed: the connection connect() made goes.
void withdraw();
// Turns the X events that wait for this thread's windows into the subset's messages, and dispatches
// every message that waits (a control's gesture runs inside).
void dispatchEvents();
// Shows what was drawn since the last time.
void show();

}  // namespace platform::desktop
