#include "pngwriter.h"

#include <zlib.h>

#include <array>
#include <stdexcept>
#include <string>

namespace bx {
namespace {

constexpr std::array<uint8_t, 8> signature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::size_t chunkCapacity = 64 * 1024; // IDAT payload per chunk
constexpr int maxDimension = 0x7FFFFFFF / 4;     // rows of width * 3 + 1 bytes stay within zlib's uInt

void putBigEndian(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

} // namespace

struct PngWriter::Deflater {
    z_stream stream{};
};

PngWriter::PngWriter(std::ostream& out, int width, int height)
    : out_(out), width_(width), height_(height), deflater_(std::make_unique<Deflater>()) {
    if (width < 1 || height < 1 || width > maxDimension || height > maxDimension)
        throw std::runtime_error("cannot make a picture of " + std::to_string(width) + " x " +
                                 std::to_string(height) + " pixels");
    if (deflateInit(&deflater_->stream, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw std::runtime_error("cannot start the picture's compression");
    compressed_.resize(chunkCapacity);
    deflater_->stream.next_out = compressed_.data();
    deflater_->stream.avail_out = static_cast<uInt>(compressed_.size());

    out_.write(reinterpret_cast<const char*>(signature.data()), signature.size());
    std::array<uint8_t, 13> header{};
    putBigEndian(header.data(), static_cast<uint32_t>(width));
    putBigEndian(header.data() + 4, static_cast<uint32_t>(height));
    header[8] = 8;  // bits per component
    header[9] = 2;  // truecolour RGB
    header[10] = 0; // deflate
    header[11] = 0; // adaptive filtering, every row unfiltered
    header[12] = 0; // not interlaced
    writeChunk("IHDR", header);
}

PngWriter::~PngWriter() {
    deflateEnd(&deflater_->stream);
}

void PngWriter::writeRow(std::span<const uint8_t> rgb) {
    if (finished_ || rowsWritten_ >= height_)
        throw std::runtime_error("picture row beyond the picture's height");
    if (rgb.size() != static_cast<std::size_t>(width_) * 3)
        throw std::runtime_error("picture row of the wrong width");
    uint8_t filterNone = 0;
    z_stream& z = deflater_->stream;
    z.next_in = &filterNone;
    z.avail_in = 1;
    deflateInto(Z_NO_FLUSH);
    z.next_in = const_cast<Bytef*>(rgb.data()); // zlib never writes through next_in
    z.avail_in = static_cast<uInt>(rgb.size());
    deflateInto(Z_NO_FLUSH);
    ++rowsWritten_;
}

void PngWriter::finish() {
    if (finished_)
        return;
    if (rowsWritten_ != height_)
        throw std::runtime_error("picture ended after " + std::to_string(rowsWritten_) + " of " +
                                 std::to_string(height_) + " rows");
    deflateInto(Z_FINISH);
    const std::size_t pending = compressed_.size() - deflater_->stream.avail_out;
    if (pending > 0)
        writeChunk("IDAT", std::span(compressed_.data(), pending));
    writeChunk("IEND", {});
    finished_ = true;
}

// Feeds zlib until it has taken all input (or, with Z_FINISH, ended the stream), writing an IDAT
// chunk whenever the output buffer fills.
void PngWriter::deflateInto(int flush) {
    z_stream& z = deflater_->stream;
    for (;;) {
        const int result = deflate(&z, flush);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            throw std::runtime_error("picture compression failed");
        if (z.avail_out == 0) {
            writeChunk("IDAT", compressed_);
            z.next_out = compressed_.data();
            z.avail_out = static_cast<uInt>(compressed_.size());
            continue;
        }
        if (flush == Z_FINISH ? result == Z_STREAM_END : z.avail_in == 0)
            return;
    }
}

void PngWriter::writeChunk(const char* type, std::span<const uint8_t> data) {
    std::array<uint8_t, 8> head{};
    putBigEndian(head.data(), static_cast<uint32_t>(data.size()));
    std::copy(type, type + 4, head.begin() + 4);
    uLong crc = crc32(0L, head.data() + 4, 4);
    if (!data.empty())
        crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));
    std::array<uint8_t, 4> tail{};
    putBigEndian(tail.data(), static_cast<uint32_t>(crc));
    out_.write(reinterpret_cast<const char*>(head.data()), head.size());
    out_.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    out_.write(reinterpret_cast<const char*>(tail.data()), tail.size());
}

void writePng(std::ostream& out, int width, int height, std::span<const uint8_t> rgb) {
    PngWriter writer(out, width, height);
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
    if (rgb.size() != rowBytes * static_cast<std::size_t>(height))
        throw std::runtime_error("picture data of the wrong size");
    for (int y = 0; y < height; ++y)
        writer.writeRow(rgb.subspan(static_cast<std::size_t>(y) * rowBytes, rowBytes));
    writer.finish();
}

} // namespace bx
