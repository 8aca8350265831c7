// Fuzzes the toolkit's PNG decoder, which turns the editor's image resources into bitmaps, with any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "gui/png_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of its own, exactly as long as the input, so that reading past the end is caught.
    const std::vector<std::uint8_t> copy(data, data + size);
    const gui::PngImage image = gui::readPngImage(copy.data(), copy.size());
    if (image.image == nullptr) {
        return 0;
    }

    BITMAP record{};
    if (GetObjectA(image.image, sizeof record, &record) != static_cast<int>(sizeof record) ||
        record.bmWidth != image.width || record.bmHeight != image.height || record.bmBitsPixel != 32 ||
        record.bmBits == nullptr) {
        std::fprintf(stderr, "a %d x %d image whose bitmap reads %ld x %ld\n", image.width, image.height,
                     static_cast<long>(record.bmWidth), static_cast<long>(record.bmHeight));
        std::abort();
    }
    // Every pixel of the store must be there. (A decode that failed part-way keeps its rows as read, not
    // premultiplied, so the values themselves prove nothing.)
    const auto* pixel = static_cast<const std::uint8_t*>(record.bmBits);
    const std::size_t bytes = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4;
    unsigned sum = 0;
    for (std::size_t i = 0; i < bytes; ++i) {
        sum += pixel[i];
    }
    volatile unsigned sink = sum;
    (void)sink;
    DeleteObject(image.image);
    return 0;
}
