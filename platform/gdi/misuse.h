// Reports a caller's misuse of the subset: an assertion in debug builds, a failure return otherwise.
#pragma once

namespace platform {

// Aborts with the message in debug builds; in release builds it returns and the caller fails the call.
void reportMisuse(const char* what);

}  // namespace platform
