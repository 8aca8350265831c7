// Asks the processor (CPUID) and the system (XGETBV) whether the AVX and fused multiply-add kernels may run.
#include "effect/cpu_features.h"

#include <cpuid.h>

#include <cstdint>

namespace {
constexpr unsigned kFusedMultiplyAdd = 1u << 12;
constexpr unsigned kSystemSavesExtendedState = 1u << 27;
constexpr unsigned kAvx = 1u << 28;
constexpr std::uint64_t kSseAndAvxState = 0x6;

// The extended control register 0: which register sets the system saves on a context switch.
std::uint64_t savedRegisterSets() {
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (static_cast<std::uint64_t>(high) << 32) | low;
}
}  // namespace

bool cpuRunsAvxWithFusedMultiplyAdd() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
        return false;
    }
    const unsigned needed = kFusedMultiplyAdd | kSystemSavesExtendedState | kAvx;
    if ((ecx & needed) != needed) {
        return false;
    }
    return (savedRegisterSets() & kSseAndAvxState) == kSseAndAvxState;
}
