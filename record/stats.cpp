#include "stats.h"

#include <algorithm>
#include <cstdio>

namespace bx {

LayerSummary summarizeLayer(const Grid& layer, int sizeX, int sizeY) {
    const int lastColumn = std::min(sizeX, layer.sizeX());
    const int lastRow = std::min(sizeY, layer.sizeY());
    Rgb sum;
    int64_t present = 0;
    for (int c = 1; c <= lastColumn; ++c) {
        for (int r = 1; r <= lastRow; ++r) {
            const Rgb& square = layer.at(c, r);
            if (!square.present())
                continue;
            sum.red += square.red;
            sum.green += square.green;
            sum.blue += square.blue;
            ++present;
        }
    }
    if (present == 0)
        return {};
    const double n = static_cast<double>(present);
    return {present, {sum.red / n, sum.green / n, sum.blue / n}};
}

std::string statsCsvHeader() {
    return "generation,organisms,environments,org_red,org_green,org_blue,env_red,env_green,env_blue,reset";
}

std::string statsCsvRow(const GenerationStats& s) {
    // %.4f is locale-independent here: the runner never changes the C locale.
    char line[256];
    std::snprintf(line, sizeof line, "%lld,%d,%d,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%d",
                  static_cast<long long>(s.generation), static_cast<int>(s.organisms),
                  static_cast<int>(s.environments), s.organismMean.red, s.organismMean.green,
                  s.organismMean.blue, s.environmentMean.red, s.environmentMean.green, s.environmentMean.blue,
                  s.reset ? 1 : 0);
    return line;
}

} // namespace bx
