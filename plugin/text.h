// Bounded copies of 8-bit, zero-terminated texts into fields and host buffers.
#pragma once

#include <cstddef>
#include <cstring>

// Lengths of the host buffers that the interface fixes for this plug-in's texts.
constexpr std::size_t kProgramNameCapacity = 24;    // program names, terminator included
constexpr std::size_t kParameterTextCapacity = 24;  // parameter names, labels and displays
constexpr std::size_t kIdentityTextCapacity = 64;   // effect, vendor and product names

// Copies at most capacity - 1 characters of source and always terminates destination.
inline void copyText(char* destination, const char* source, std::size_t capacity) {
    if (destination == nullptr || capacity == 0) {
        return;
    }
    std::size_t length = source == nullptr ? 0 : strnlen(source, capacity - 1);
    std::memcpy(destination, source == nullptr ? "" : source, length);
    destination[length] = '\0';
}
