// The validator's own dealings with the window system, one implementation per platform: its own X
// error handler and connection on Linux (where a plug-in shares the process's error handler and may
// lose its connection), nothing on Windows.
#pragma once

#include <string>

#include "host/validate/validation.h"

namespace validate {

// Installs the validator's own X error handler, as a host does before it loads any plug-in.
void installOwnErrorHandler();

struct ErrorProbe {
    bool made = false;     // false when there is no display (reason says why)
    bool reached = false;  // the error reached the handler installOwnErrorHandler put in place
    std::string reason;
};
// Makes a request that fails on a connection of the validator's own.
ErrorProbe probeOwnErrorHandler();

// Kills the X client that made the editor's window inside the host's (from the host's connection);
// empty on success, else why it could not.
std::string killEditorClient(const ParentWindow& window);

}  // namespace validate
