// Flushes denormal floats to zero for the lifetime of a scope and restores the caller's mode after it.
#pragma once

#include <xmmintrin.h>

// Decaying filter histories would otherwise crawl through denormal numbers, which cost many times
// the work of normal ones. The host's floating-point state is put back exactly as it was.
class DenormalGuard {
public:
    DenormalGuard() : saved(_mm_getcsr()) {
        if ((saved & kFlushBits) != kFlushBits) {
            _mm_setcsr(saved | kFlushBits);
        }
    }
    ~DenormalGuard() {
        if ((saved & kFlushBits) != kFlushBits) {
            _mm_setcsr(saved);
        }
    }
    DenormalGuard(const DenormalGuard&) = delete;
    DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
    static constexpr unsigned kFlushToZero = 0x8000;     // results that would be denormal become zero
    static constexpr unsigned kDenormalsAreZero = 0x40;  // denormal operands are read as zero
    static constexpr unsigned kFlushBits = kFlushToZero | kDenormalsAreZero;
    unsigned saved;
};
