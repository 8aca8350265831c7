// The processor's floating-point control state that a host sets and a plug-in must leave alone.
#pragma once

#include <cstdint>
#include <string>

namespace validate {

struct FloatState {
    std::uint32_t mxcsr = 0;       // SSE: rounding, exception masks, flush-to-zero, denormals-are-zero
    std::uint16_t x87Control = 0;  // x87: precision, rounding, exception masks

    bool operator==(const FloatState& other) const { return mxcsr == other.mxcsr && x87Control == other.x87Control; }
    bool operator!=(const FloatState& other) const { return !(*this == other); }
};

// Sticky exception flags say what happened, not how the host set things up: they are left out.
FloatState readFloatState();
void writeFloatState(const FloatState& state);

constexpr std::uint32_t kFlushToZero = 0x8000;
constexpr std::uint32_t kDenormalsAreZero = 0x0040;

// "MXCSR 0x1F80 to 0x9FC0" and the like.
std::string describeChange(const FloatState& before, const FloatState& after);

}  // namespace validate
