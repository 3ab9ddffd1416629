#include "record/pngwriter.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace bx {
namespace {

uint32_t bigEndian(const std::string& s, std::size_t at) {
    return (uint32_t{static_cast<uint8_t>(s[at])} << 24) | (uint32_t{static_cast<uint8_t>(s[at + 1])} << 16) |
           (uint32_t{static_cast<uint8_t>(s[at + 2])} << 8) | uint32_t{static_cast<uint8_t>(s[at + 3])};
}

struct Decoded {
    std::vector<std::string> chunkTypes;
    std::string header;
    std::string data; // the inflated image data
};

// Walks the chunks, checking every CRC, and inflates the image data.
Decoded decode(const std::string& png) {
    Decoded d;
    EXPECT_EQ(std::string("\x89PNG\r\n\x1a\n", 8), png.substr(0, 8));
    std::string compressed;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = bigEndian(png, at);
        const std::string type = png.substr(at + 4, 4);
        const std::string body = png.substr(at + 8, length);
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
        EXPECT_EQ(crc, bigEndian(png, at + 8 + length)) << type << " chunk CRC";
        d.chunkTypes.push_back(type);
        if (type == "IHDR")
            d.header = body;
        if (type == "IDAT")
            compressed += body;
        at += 12 + length;
    }
    EXPECT_EQ(png.size(), at) << "bytes after the last chunk";
    std::vector<Bytef> out(1 << 22);
    uLongf outLength = static_cast<uLongf>(out.size());
    EXPECT_EQ(Z_OK, uncompress(out.data(), &outLength, reinterpret_cast<const Bytef*>(compressed.data()),
                               static_cast<uLong>(compressed.size())));
    d.data.assign(reinterpret_cast<const char*>(out.data()), outLength);
    return d;
}

std::vector<uint8_t> noise(std::size_t n) {
    std::vector<uint8_t> v(n);
    uint32_t x = 12345;
    for (auto& b : v) {
        x = x * 1103515245u + 12345u;
        b = static_cast<uint8_t>(x >> 24);
    }
    return v;
}

TEST(pngwriter_test, a_picture_decodes_to_its_rows_each_unfiltered) {
    const int w = 3, h = 2;
    const std::vector<uint8_t> rgb = noise(w * h * 3);
    std::ostringstream out;
    writePng(out, w, h, rgb);
    const Decoded d = decode(out.str());

    EXPECT_EQ((std::vector<std::string>{"IHDR", "IDAT", "IEND"}), d.chunkTypes);
    EXPECT_EQ(std::string("\0\0\0\3\0\0\0\2\x08\x02\0\0\0", 13), d.header); // 8-bit RGB, not interlaced
    std::string expected;
    for (int y = 0; y < h; ++y) {
        expected += '\0';
        expected.append(reinterpret_cast<const char*>(rgb.data()) + y * w * 3, w * 3);
    }
    EXPECT_EQ(expected, d.data);
}

TEST(pngwriter_test, a_large_picture_spreads_over_several_data_chunks) {
    const int w = 300, h = 200; // incompressible noise, well over one 64 KiB chunk
    const std::vector<uint8_t> rgb = noise(w * h * 3);
    std::ostringstream out;
    writePng(out, w, h, rgb);
    const Decoded d = decode(out.str());
    EXPECT_GT(std::count(d.chunkTypes.begin(), d.chunkTypes.end(), "IDAT"), 1);
    EXPECT_EQ("IEND", d.chunkTypes.back());
    ASSERT_EQ(static_cast<std::size_t>(h * (1 + w * 3)), d.data.size());
    EXPECT_EQ(0, std::memcmp(d.data.data() + 1, rgb.data(), w * 3));
}

TEST(pngwriter_test, the_wrong_number_or_width_of_rows_is_refused) {
    std::ostringstream out;
    PngWriter writer(out, 2, 2);
    const std::vector<uint8_t> row(6), shortRow(5);
    EXPECT_THROW(writer.writeRow(shortRow), std::runtime_error);
    writer.writeRow(row);
    EXPECT_THROW(writer.finish(), std::runtime_error);
    writer.writeRow(row);
    EXPECT_THROW(writer.writeRow(row), std::runtime_error);
    EXPECT_NO_THROW(writer.finish());
    EXPECT_THROW(PngWriter(out, 0, 5), std::runtime_error);
}

} // namespace
} // namespace bx
