// Misuse reports: loud in debug builds, where they point at the faulty call, silent in release builds.
#include "platform/gdi/misuse.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

void reportMisuse(const char* what) {
#ifndef NDEBUG
    std::fprintf(stderr, "Win32 subset misuse: %s\n", what);
    std::abort();
#else
    (void)what;
#endif
}

}  // namespace platform
