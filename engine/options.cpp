#include "options.h"

#include <cmath>
#include <utility>

namespace bx {

std::string versionStringOf(int major, int minor) {
    return std::to_string(major) + "." + std::to_string(minor);
}

int blueOf(int64_t colour) {
    return static_cast<int>(std::floor(static_cast<double>(colour) / 65536.0));
}

int greenOf(int64_t colour) {
    const double rest = static_cast<double>(colour) - 65536.0 * blueOf(colour);
    return static_cast<int>(std::floor(rest / 256.0));
}

int redOf(int64_t colour) {
    return static_cast<int>(static_cast<double>(colour) - 65536.0 * blueOf(colour) - 256.0 * greenOf(colour));
}

// helpFilePath is taken by value: callers pass the record's own path, which the next line clears.
void setDefaultOptions(SimulationOptions& options, int major, int minor, std::string helpFilePath) {
    options = SimulationOptions{};
    options.versionString = versionStringOf(major, minor);
    options.mainTitle = "Bramblex " + options.versionString;
    options.displayTitle = "Simulator";
    options.helpFilePath = std::move(helpFilePath);
}

} // namespace bx
