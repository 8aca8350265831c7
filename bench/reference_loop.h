// A straightforward biquad loop, left channel then right, with the plug-in's arithmetic: the yardstick.
#pragma once

#include <cstdint>

struct ReferenceBiquad {
    double a0, a1, a2, b1, b2;
    double x1[2], x2[2], y1[2], y2[2];
};

void referenceProcess(ReferenceBiquad& filter, float** inputs, float** outputs, std::int32_t frames);
