#pragma once
// Per-generation statistics of a headless run and their CSV form.
#include <cstdint>
#include <string>

#include "engine/colour.h"
#include "engine/grid.h"

namespace bx {

// How many of the visible squares (columns 1..sizeX, rows 1..sizeY, limited to the grid) hold
// the layer, and their mean red, green and blue (all 0 when it is present nowhere).
struct LayerSummary {
    int64_t present = 0;
    Rgb mean;
};
LayerSummary summarizeLayer(const Grid& layer, int sizeX, int sizeY);
inline Rgb layerMean(const Grid& layer, int sizeX, int sizeY) {
    return summarizeLayer(layer, sizeX, sizeY).mean;
}

struct GenerationStats {
    int64_t generation = 0; // the number of the generation finished, as its host counts them
    int32_t organisms = 0;  // the visible squares holding the layer when the generation ended
    int32_t environments = 0;
    Rgb organismMean; // all four taken when the generation ended, before any reset
    Rgb environmentMean;
    bool reset = false; // the end of this generation reset a dead world
    bool operator==(const GenerationStats&) const = default;
};

// The header line, without the line end.
std::string statsCsvHeader();
// One row without the line end; means with exactly 4 decimals.
std::string statsCsvRow(const GenerationStats& stats);

} // namespace bx
