// Decoding a PNG held in memory into the pixel store that bitmaps draw from.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win32.h"

namespace gui {

struct PngImage {
    HBITMAP image = nullptr;  // null when the header could not be read or the store not made
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A bottom-up 32-bit DIB section of premultiplied blue, green, red, alpha (each colour byte times alpha,
// shifted right by 8), whatever the PNG's colour type and depth. A decode that fails part-way keeps the
// rows read so far. A header declaring a side over 32767 or over 16 million pixels makes no store.
PngImage readPngImage(const void* data, std::size_t size);

// The width and height a PNG's header gives, without decoding it; false when there is no header.
bool readPngSize(const void* data, std::size_t size, std::int32_t& width, std::int32_t& height);

}  // namespace gui
