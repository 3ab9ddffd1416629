#include "record/pngwriter.h"
#include "record/worldpicture.h"

namespace bx {

void writeWorldPng(std::ostream& out, const WorldState& world, int gridSizeX, int gridSizeY, int squareSize) {
    PngWriter writer(out, gridSizeX * squareSize, gridSizeY * squareSize);
    renderWorld(world, gridSizeX, gridSizeY, squareSize,
                [&writer](std::span<const uint8_t> r) { writer.writeRow(r); });
    writer.finish();
}

} // namespace bx
