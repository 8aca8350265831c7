// The texts and the mode of the parameter table: what hosts, the editor and the filter read alike.
#include "effect/parameter_table.h"

#include <cstdio>

#include "effect/parameter_converter.h"

std::int32_t filterModeOf(float value) {
    for (std::int32_t mode = 0; mode + 1 < kModeCount; ++mode) {
        if (value < kModeValues[mode + 1]) {
            return mode;
        }
    }
    return kModeCount - 1;
}

void parameterDisplayText(std::int32_t index, float value, char* text, std::size_t capacity) {
    if (text == nullptr || capacity == 0) {
        return;
    }
    if (isCutoff(index)) {
        const ZelmorConverter converter;
        std::snprintf(text, capacity, "%d Hz", wholeHertz(converter.convert(index, value)));
    } else if (index == kFilterMode) {
        std::snprintf(text, capacity, "%s", kModeNames[filterModeOf(value)]);
    } else {
        text[0] = '\0';
    }
}
