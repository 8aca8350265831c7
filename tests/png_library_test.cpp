// The PNG library each target links: its headers match the library, and it round-trips an image
// through its own compressor (zlib, linked statically into the Windows build).
#include <png.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Memory {
    std::vector<std::uint8_t> bytes;
    std::size_t readPosition = 0;
};

void writeBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* memory = static_cast<Memory*>(png_get_io_ptr(png));
    memory->bytes.insert(memory->bytes.end(), data, data + length);
}

void flushNothing(png_structp /*png*/) {}

void readBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* memory = static_cast<Memory*>(png_get_io_ptr(png));
    if (memory->readPosition + length > memory->bytes.size()) {
        png_error(png, "read past the end");
    }
    std::memcpy(data, memory->bytes.data() + memory->readPosition, length);
    memory->readPosition += length;
}

constexpr png_uint_32 kWidth = 37;
constexpr png_uint_32 kHeight = 23;

std::vector<std::uint8_t> testImage() {
    std::vector<std::uint8_t> pixels(kWidth * kHeight * 4);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<std::uint8_t>((i * 7919u) >> 3);
    }
    return pixels;
}

}  // namespace

TEST(PngLibrary, HeadersMatchTheLinkedLibrary) {
    // A mismatch makes png_create_*_struct refuse to work, and every image would stay empty.
    EXPECT_EQ(png_access_version_number(), static_cast<png_uint_32>(PNG_LIBPNG_VER));
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    EXPECT_NE(png, nullptr);
    png_destroy_read_struct(&png, nullptr, nullptr);
}

TEST(PngLibrary, RoundTripsAnRgbaImageInMemory) {
    const std::vector<std::uint8_t> pixels = testImage();
    Memory memory;
    {
        png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        ASSERT_NE(png, nullptr);
        png_infop info = png_create_info_struct(png);
        png_set_write_fn(png, &memory, writeBytes, flushNothing);
        png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (png_uint_32 y = 0; y < kHeight; ++y) {
            png_write_row(png, pixels.data() + y * kWidth * 4);
        }
        png_write_end(png, nullptr);
        png_destroy_write_struct(&png, &info);
    }
    ASSERT_GT(memory.bytes.size(), 8u);
    EXPECT_EQ(png_sig_cmp(memory.bytes.data(), 0, 8), 0);

    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    ASSERT_NE(png, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &memory, readBytes);
    png_read_info(png, info);
    EXPECT_EQ(png_get_image_width(png, info), kWidth);
    EXPECT_EQ(png_get_image_height(png, info), kHeight);
    EXPECT_EQ(png_get_color_type(png, info), PNG_COLOR_TYPE_RGBA);
    std::vector<std::uint8_t> decoded(pixels.size());
    for (png_uint_32 y = 0; y < kHeight; ++y) {
        png_read_row(png, decoded.data() + y * kWidth * 4, nullptr);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    EXPECT_EQ(decoded, pixels);
}
