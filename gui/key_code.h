// The key code that hosts hand to an editor's key operations, as the toolkit's frame takes it.
#pragma once

#include <cstddef>
#include <cstdint>

struct VstKeyCode {
    std::int32_t character;
    std::uint8_t virt;      // a virtual key of the plug-in interface (VKEY_...), 0 for a character
    std::uint8_t modifier;  // MODIFIER_... bits
};

static_assert(sizeof(VstKeyCode) == 8 && offsetof(VstKeyCode, virt) == 4 && offsetof(VstKeyCode, modifier) == 5,
              "key code layout");
