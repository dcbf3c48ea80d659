#include "tests/harness/png.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

namespace harness::png {
namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t kMaxStoredBlock = 65535;
constexpr uint8_t kColorTypeRgb = 2;

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t GetBigEndian(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + typeAt, out.size() - typeAt));
}

// Each row prefixed by filter type 0 (none), as the PNG format requires.
std::vector<uint8_t> FilteredRows(const RgbImage& image) {
    size_t stride = size_t(image.width) * 3;
    std::vector<uint8_t> raw;
    raw.reserve((stride + 1) * image.height);
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        auto row = image.rgb.begin() + y * stride;
        raw.insert(raw.end(), row, row + stride);
    }
    return raw;
}

std::vector<uint8_t> ZlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        size_t size = std::min(kMaxStoredBlock, raw.size() - at);
        bool last = at + size == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<uint8_t>(size));
        z.push_back(static_cast<uint8_t>(size >> 8));
        z.push_back(static_cast<uint8_t>(~size));
        z.push_back(static_cast<uint8_t>(~size >> 8));
        z.insert(z.end(), raw.begin() + at, raw.begin() + at + size);
        at += size;
    } while (at < raw.size());
    PutBigEndian(z, Adler32(raw.data(), raw.size()));
    return z;
}

std::optional<std::vector<uint8_t>> UnzlibStored(const std::vector<uint8_t>& z) {
    if (z.size() < 6 || (z[0] & 0x0F) != 8 || (z[0] << 8 | z[1]) % 31 != 0)
        return std::nullopt;
    std::vector<uint8_t> raw;
    size_t at = 2;
    bool last = false;
    while (!last) {
        if (at + 5 > z.size() || (z[at] & 0x06) != 0) // only stored blocks
            return std::nullopt;
        last = z[at] & 1;
        size_t size = z[at + 1] | z[at + 2] << 8;
        size_t check = z[at + 3] | z[at + 4] << 8;
        at += 5;
        if ((size ^ 0xFFFF) != check || at + size > z.size())
            return std::nullopt;
        raw.insert(raw.end(), z.begin() + at, z.begin() + at + size);
        at += size;
    }
    if (at + 4 > z.size() || GetBigEndian(z.data() + at) != Adler32(raw.data(), raw.size()))
        return std::nullopt;
    return raw;
}

} // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

std::vector<uint8_t> Encode(const RgbImage& image) {
    std::vector<uint8_t> out(std::begin(kSignature), std::end(kSignature));
    std::vector<uint8_t> header;
    PutBigEndian(header, static_cast<uint32_t>(image.width));
    PutBigEndian(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {8, kColorTypeRgb, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", ZlibStored(FilteredRows(image)));
    PutChunk(out, "IEND", {});
    return out;
}

std::optional<RgbImage> Decode(const std::vector<uint8_t>& file) {
    if (file.size() < 8 || std::memcmp(file.data(), kSignature, 8) != 0)
        return std::nullopt;
    RgbImage image;
    std::vector<uint8_t> z;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        uint32_t size = GetBigEndian(file.data() + at);
        if (size > file.size() - at - 12)
            return std::nullopt;
        const uint8_t* type = file.data() + at + 4;
        const uint8_t* data = type + 4;
        if (GetBigEndian(data + size) != Crc32(type, size + 4))
            return std::nullopt;
        if (std::memcmp(type, "IHDR", 4) == 0) {
            if (size != 13 || data[8] != 8 || data[9] != kColorTypeRgb || data[12] != 0)
                return std::nullopt;
            image.width = static_cast<int>(GetBigEndian(data));
            image.height = static_cast<int>(GetBigEndian(data + 4));
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            z.insert(z.end(), data, data + size);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        at += 12 + size;
    }
    auto raw = UnzlibStored(z);
    size_t stride = size_t(image.width) * 3;
    if (!raw || image.width <= 0 || image.height <= 0 || raw->size() != (stride + 1) * image.height)
        return std::nullopt;
    for (int y = 0; y < image.height; ++y) {
        auto row = raw->begin() + y * (stride + 1);
        if (*row != 0)
            return std::nullopt;
        image.rgb.insert(image.rgb.end(), row + 1, row + 1 + stride);
    }
    return image;
}

bool WriteFile(const std::string& path, const RgbImage& image) {
    std::vector<uint8_t> bytes = Encode(image);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::optional<RgbImage> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    return Decode(bytes);
}

} // namespace harness::png
