// Saving a picture as an 8-bit RGB PNG file, so that a failure leaves no half-written file behind.
#include "host/cli/png_file.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "host/cli/system.h"
#include "host/cli/temporary_file.h"

void writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb) {
    if (width <= 0 || height <= 0 || rgb.size() != static_cast<std::size_t>(width) * height * 3) {
        throw std::runtime_error("cannot write '" + path + "': the picture has no pixels");
    }
    // Beside the target, so that the rename stays on one file system and replaces it in one step.
    const TemporaryFile temporary = createTemporaryBeside(path);
    const std::string& unfinished = temporary.path;
    std::FILE* file = streamFor(temporary.descriptor);
    if (file == nullptr) {
        std::remove(unfinished.c_str());
        throw std::runtime_error("cannot write '" + path + "': " + std::strerror(errno));
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    bool written = png_image_write_to_stdio(&image, file, 0, rgb.data(), 0, nullptr) != 0;
    std::string reason = written ? "" : image.message;
    png_image_free(&image);
    // A full disk may only show when the last buffered bytes go out.
    if (std::fclose(file) != 0 && written) {
        written = false;
        reason = std::strerror(errno);
    }
    if (!written || !replaceFile(unfinished, path)) {
        std::remove(unfinished.c_str());
        throw std::runtime_error("cannot write '" + path + "'" + (reason.empty() ? "" : ": " + reason));
    }
}
