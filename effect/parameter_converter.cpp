// The logarithmic frequency curve shared by the filter design, the display texts and the editor.
#include "effect/parameter_converter.h"

#include "effect/parameter_table.h"

#include <cmath>
#include <limits>

namespace {
// Float constants of the curve (10^x / 10 - 0.1) * 10/9, which maps 0 to 0 and 1 to 1.
constexpr float kOffset = 0.1f;
constexpr float kScale = 1.1111112f;
}  // namespace

float ParameterConverter::convert(std::int32_t index, float x) const {
    float min = 0.0f;
    float max = 0.0f;
    getRange(index, min, max);
    if (max == min) {
        return min;  // no range: also keeps an infinite curve value from turning into NaN
    }
    auto t = static_cast<float>(std::pow(10.0, static_cast<double>(x)));
    t = t / 10.0f;
    t = t - kOffset;
    t = t * kScale;
    float span = max - min;
    return static_cast<float>(static_cast<double>(min) + static_cast<double>(t) * static_cast<double>(span));
}

void ZelmorConverter::getRange(std::int32_t index, float& min, float& max) const {
    if (index >= 0 && index < kNumParams) {
        min = kParameterTable[index].minimum;
        max = kParameterTable[index].maximum;
    }
}

float ParameterConverter::normalise(std::int32_t index, float hertz) const {
    float min = 0.0f;
    float max = 0.0f;
    getRange(index, min, max);
    if (max == min) {
        return 0.0f;
    }
    float x = (hertz - min) / (max - min);
    x = x / kScale;
    x = x + kOffset;
    x = x * 10.0f;
    return static_cast<float>(std::log10(static_cast<double>(x)));
}

int wholeHertz(float hertz) {
    const double n = std::trunc(static_cast<double>(hertz) + 0.5);
    if (std::isnan(n)) {
        return 0;
    }
    if (n >= static_cast<double>(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (n <= static_cast<double>(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(n);
}
