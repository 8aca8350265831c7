// One program of the bank, also the program chunk: three normalised values and a name, 36 bytes.
#pragma once

#include <cstddef>

#include "plugin/text.h"

struct ZelmorProgram {
    float mode = 0.0f;
    float lower = 0.05f;
    float upper = 0.5f;
    char name[kProgramNameCapacity] = "Init";
};

// Hosts store these bytes in projects and preset files; the layout must never change.
static_assert(sizeof(ZelmorProgram) == 36, "program record size");
static_assert(offsetof(ZelmorProgram, mode) == 0 && offsetof(ZelmorProgram, lower) == 4 &&
                  offsetof(ZelmorProgram, upper) == 8 && offsetof(ZelmorProgram, name) == 12,
              "program record layout");
