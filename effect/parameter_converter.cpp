// The logarithmic frequency curve shared by the filter design, the display texts and the editor.
#include "effect/parameter_converter.h"

#include <cmath>

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
    if (index == 0 || index == 1) {
        min = kMinimumHertz;
        max = kMaximumHertz;
    }
}
