// Mapping between a normalised parameter value and a value in the parameter's range (hertz here).
#pragma once

#include <cstdint>

// Stateless; safe on any thread.
class ParameterConverter {
public:
    virtual ~ParameterConverter() = default;
    virtual void getRange(std::int32_t index, float& min, float& max) const = 0;

    // The value in the parameter's range along (10^x - 1) / 9; 0 for an index without a range.
    float convert(std::int32_t index, float x) const;
    // The inverse, every step rounded to float: the normalised value that converts to hertz. Unclamped;
    // the logarithm makes anything at or below min - 0.11111112 (max - min) NaN or minus infinity.
    float normalise(std::int32_t index, float hertz) const;
};

// Hertz as a display shows them: rounded half up to a whole number, kept inside the integer range
// (NaN shows as 0).
int wholeHertz(float hertz);

class ZelmorConverter : public ParameterConverter {
public:
    static constexpr float kMinimumHertz = 20.0f;
    static constexpr float kMaximumHertz = 20000.0f;

    void getRange(std::int32_t index, float& min, float& max) const override;
};
