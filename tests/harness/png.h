// A minimal PNG encoder and decoder for test screenshots: 8-bit RGB, zlib
// streams of stored (uncompressed) deflate blocks. Portable, no windows.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace harness::png {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb; // top-down rows, 3 bytes a pixel
};

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

std::vector<uint8_t> Encode(const RgbImage& image);
// Decodes what Encode writes; nothing for anything else (compressed blocks,
// other colour types, bad checksums).
std::optional<RgbImage> Decode(const std::vector<uint8_t>& file);

bool WriteFile(const std::string& path, const RgbImage& image);
std::optional<RgbImage> ReadFile(const std::string& path);

} // namespace harness::png
