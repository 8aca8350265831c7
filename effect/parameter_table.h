// The effect's three parameters in one table: index, name, label, range, and how a value is shown.
#pragma once

#include <cstddef>
#include <cstdint>

enum ZelmorParameter : std::int32_t {
    kLowerCutoff = 0,
    kUpperCutoff = 1,
    kFilterMode = 2,
};
constexpr std::int32_t kNumParams = 3;

struct ParameterInfo {
    const char* name;   // as hosts list it
    const char* label;  // the unit after the display text
    float minimum;      // the range a normalised value maps into; equal ends for a parameter without one
    float maximum;
};

constexpr ParameterInfo kParameterTable[kNumParams] = {
    {"Lower Cut-off Frequency", "Hz", 20.0f, 20000.0f},
    {"Upper Cut-off Frequency", "Hz", 20.0f, 20000.0f},
    {"Filter Mode", "", 0.0f, 0.0f},
};

// The filter modes, in the order of the mode's quarters of the normalised value.
constexpr std::int32_t kModeCount = 4;
constexpr const char* kModeNames[kModeCount] = {"Low Pass", "High Pass", "Band Pass", "Band Stop"};
// The least normalised value of each mode's quarter.
constexpr float kModeValues[kModeCount] = {0.0f, 0.25f, 0.5f, 0.75f};

// Whether a parameter is a cut-off, shown in whole hertz.
constexpr bool isCutoff(std::int32_t index) {
    return index == kLowerCutoff || index == kUpperCutoff;
}

// The mode a normalised mode value selects, by quarters (0 to 3); NaN selects band stop.
std::int32_t filterModeOf(float modeValue);

// What a value shows: "%d Hz" for a cut-off, the mode's name for the mode; empty for another index.
// Writes at most capacity bytes, terminator included.
void parameterDisplayText(std::int32_t index, float value, char* text, std::size_t capacity);
