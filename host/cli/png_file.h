// Saving a picture as an 8-bit RGB PNG file, so that a failure leaves no half-written file behind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb holds the rows from the top, three bytes a pixel. Throws std::runtime_error on failure.
void writePngFile(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb);
