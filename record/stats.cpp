#include "stats.h"

#include <algorithm>

#include "text/numbers.h"

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
    std::string line;
    const auto number = [&line](int64_t value) {
        appendInteger(line, value);
        line += ',';
    };
    const auto mean = [&line](double value) {
        appendFixed(line, value, 4);
        line += ',';
    };
    number(s.generation);
    number(s.organisms);
    number(s.environments);
    for (const Rgb& layer : {s.organismMean, s.environmentMean}) {
        mean(layer.red);
        mean(layer.green);
        mean(layer.blue);
    }
    line += s.reset ? '1' : '0';
    return line;
}

} // namespace bx
