// The PNG decoder: libpng reading from memory, every colour type brought to 8-bit BGRA, rows stored
// bottom-up as the DIB section keeps them, then premultiplied for alpha blending.
#include "gui/png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace gui {
namespace {

// A header may declare up to 2^31 - 1 pixels a side. The store is made before any row is read, so a
// few bytes could otherwise claim gigabytes: nothing a panel draws is wider or taller than a 16-bit
// rectangle holds, nor larger than 16 million pixels (64 MB).
constexpr png_uint_32 kMaximumSide = 0x7fff;
constexpr std::uint64_t kMaximumPixels = std::uint64_t{1} << 24;

struct MemoryReader {
    const unsigned char* data;
    std::size_t position;
    std::size_t size;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (reader == nullptr) {
        return;
    }
    // Handing libpng a buffer it did not get filled would decode stale bytes: a short image ends here.
    if (reader->position + length > reader->size || reader->data == nullptr) {
        png_error(png, "read past the end of the image");
    }
    std::memcpy(out, reader->data + reader->position, length);
    reader->position += length;
}

// The plug-in writes nothing to the host's console: errors end the decode, warnings are dropped.
void stopDecoding(png_structp png, png_const_charp /*message*/) {
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp /*png*/, png_const_charp /*message*/) {}

// No object with a destructor may live here: libpng errors leave through longjmp.
void decode(png_structp png, png_infop info, MemoryReader* reader, PngImage* result) {
    png_set_read_fn(png, reader, readFromMemory);
    png_read_info(png, info);
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colourType, nullptr, nullptr, nullptr);
    result->width = static_cast<std::int32_t>(width);
    result->height = static_cast<std::int32_t>(height);
    if (width > kMaximumSide || height > kMaximumSide || static_cast<std::uint64_t>(width) * height > kMaximumPixels) {
        return;
    }

    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = static_cast<LONG>(width);
    header.bmiHeader.biHeight = static_cast<LONG>(height);  // positive: bottom-up
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    result->image = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (result->image == nullptr || bits == nullptr) {
        return;
    }

    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_gray_to_rgb(png);
    }
    if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) {
        png_set_tRNS_to_alpha(png);
    } else {
        png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    }
    if (bitDepth == 16) {
        png_set_swap(png);
        png_set_strip_16(png);
    }
    // Palette images become RGB too, so they need the same order as the others to keep their colours.
    if (colourType == PNG_COLOR_TYPE_RGB || colourType == PNG_COLOR_TYPE_RGB_ALPHA ||
        colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_bgr(png);
    }
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    // The image's first row is the bottom-up bitmap's last row in memory.
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    auto* const pixels = static_cast<unsigned char*>(bits);
    for (int pass = 0; pass < passes; ++pass) {
        unsigned char* row = pixels + (static_cast<std::size_t>(height) - 1) * stride;
        for (png_uint_32 y = 0; y < height; ++y, row -= stride) {
            png_bytep rowPointer = row;
            png_read_rows(png, &rowPointer, nullptr, 1);
        }
    }
    png_read_end(png, nullptr);

    // Divided by 256, as the blend expects it: full white becomes 254.
    unsigned char* pixel = pixels;
    for (std::size_t i = 0, count = static_cast<std::size_t>(width) * height; i < count; ++i, pixel += 4) {
        const unsigned alpha = pixel[3];
        if (alpha == 0) {
            std::memset(pixel, 0, 4);
            continue;
        }
        for (int channel = 0; channel < 3; ++channel) {
            pixel[channel] = static_cast<unsigned char>((pixel[channel] * alpha) >> 8);
        }
    }
}

// Kept apart from the caller so that nothing local to the function that sets the jump point changes
// between the jump point and a jump back to it.
void decodeGuarded(png_structp png, png_infop info, MemoryReader* reader, PngImage* result) {
    if (setjmp(*png_set_longjmp_fn(png, longjmp, sizeof(std::jmp_buf))) == 0) {
        decode(png, info, reader, result);
    }
}

}  // namespace

PngImage readPngImage(const void* data, std::size_t size) {
    PngImage result;
    MemoryReader reader{static_cast<const unsigned char*>(data), 0, size};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, stopDecoding, ignoreWarning);
    if (png == nullptr) {
        return result;
    }
    png_infop info = png_create_info_struct(png);
    if (info != nullptr) {
        decodeGuarded(png, info, &reader, &result);
    }
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    return result;
}

bool readPngSize(const void* data, std::size_t size, std::int32_t& width, std::int32_t& height) {
    // The signature, then the header chunk: its length and type, then width and height, big-endian.
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    constexpr std::size_t kHeaderEnd = 24;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (bytes == nullptr || size < kHeaderEnd || std::memcmp(bytes, kSignature, sizeof kSignature) != 0 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        return false;
    }
    auto bigEndian = [&](std::size_t at) {
        return (static_cast<std::uint32_t>(bytes[at]) << 24) | (static_cast<std::uint32_t>(bytes[at + 1]) << 16) |
               (static_cast<std::uint32_t>(bytes[at + 2]) << 8) | static_cast<std::uint32_t>(bytes[at + 3]);
    };
    const std::uint32_t w = bigEndian(16);
    const std::uint32_t h = bigEndian(20);
    // The format allows up to 2^31 - 1; nothing of ours is larger than a 16-bit rectangle holds.
    if (w == 0 || h == 0 || w > kMaximumSide || h > kMaximumSide) {
        return false;
    }
    width = static_cast<std::int32_t>(w);
    height = static_cast<std::int32_t>(h);
    return true;
}

}  // namespace gui
