#pragma once
// 8-bit RGB PNG output, written row by row so that a large picture is never held whole.
#include <cstdint>
#include <memory>
#include <ostream>
#include <span>
#include <vector>

namespace bx {

class PngWriter {
public:
    // Writes the signature and the header. Throws std::runtime_error for an empty or
    // oversized picture.
    PngWriter(std::ostream& out, int width, int height);
    ~PngWriter();
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    // One row, top to bottom: width * 3 bytes, red, green, blue per pixel.
    void writeRow(std::span<const uint8_t> rgb);
    // Ends the picture; throws std::runtime_error unless exactly `height` rows were written.
    void finish();

private:
    void deflateInto(int flush);
    void writeChunk(const char* type, std::span<const uint8_t> data);

    std::ostream& out_;
    int width_;
    int height_;
    int rowsWritten_ = 0;
    bool finished_ = false;
    struct Deflater;
    std::unique_ptr<Deflater> deflater_; // zlib's stream, kept out of this header
    std::vector<uint8_t> compressed_;
};

// A whole picture given at once: height rows of width * 3 bytes.
void writePng(std::ostream& out, int width, int height, std::span<const uint8_t> rgb);

} // namespace bx
