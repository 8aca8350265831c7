// Asking for a text into a buffer of its documented size with a canary behind it, as a strict host would.
#pragma once

#include <cstdint>
#include <string>

#include "host/hosted_effect.h"

namespace validate {

// The interface's documented capacities, terminator included.
constexpr int kParameterTextCapacity = 8;  // parameter name, label and display
// Few plug-ins keep parameter texts within 8 bytes, and hosts hand out buffers of at least this size
// for them: longer texts are counted, writing past this fails.
constexpr int kHostParameterTextBuffer = 64;
constexpr int kProgramNameCapacity = 24;
constexpr int kEffectNameCapacity = 32;
constexpr int kVendorTextCapacity = 64;  // vendor and product

struct TextAnswer {
    std::string text;        // up to the first terminator inside the capacity
    int overrun = 0;         // canary bytes changed behind the capacity
    bool terminated = true;  // a terminator inside the capacity
    std::intptr_t result = 0;
    bool fits() const { return overrun == 0 && terminated; }
};

// The buffer is zeroed inside its capacity (hosts hand out cleared buffers) and 0xCD behind it.
TextAnswer askText(HostedEffect& effect, std::int32_t opcode, std::int32_t index, std::intptr_t value, int capacity);

// "effGetParamName(0) wrote 24 bytes into 8" and the like, for a failure's line.
std::string describeMisfit(const char* request, std::int32_t index, const TextAnswer& answer, int capacity);

}  // namespace validate
