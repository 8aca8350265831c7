// Reading and writing MXCSR and the x87 control word on x86-64, the same for every system's compiler here.
#include <cstdio>

#include "host/validate/float_state.h"

namespace validate {

namespace {
constexpr std::uint32_t kStickyFlags = 0x3F;
}

FloatState readFloatState() {
    FloatState state;
    // Volatile asm, not the intrinsics: the compiler may merge two intrinsic reads around a call it
    // cannot see into, as if the call could not change the register.
    std::uint32_t csr = 0;
    __asm__ volatile("stmxcsr %0" : "=m"(csr) : : "memory");
    state.mxcsr = csr & ~kStickyFlags;
    std::uint16_t control = 0;
    __asm__ volatile("fnstcw %0" : "=m"(control) : : "memory");
    state.x87Control = control;
    return state;
}

void writeFloatState(const FloatState& state) {
    std::uint32_t csr = state.mxcsr;
    __asm__ volatile("ldmxcsr %0" : : "m"(csr) : "memory");
    std::uint16_t control = state.x87Control;
    __asm__ volatile("fldcw %0" : : "m"(control) : "memory");
}

std::string describeChange(const FloatState& before, const FloatState& after) {
    char text[96];
    if (before.mxcsr != after.mxcsr) {
        std::snprintf(text, sizeof text, "MXCSR 0x%04X to 0x%04X", before.mxcsr, after.mxcsr);
    } else {
        std::snprintf(text, sizeof text, "x87 control word 0x%04X to 0x%04X", before.x87Control, after.x87Control);
    }
    return text;
}

}  // namespace validate
