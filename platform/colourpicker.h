#pragma once
// The colour picker of the options window's swatches, as an interface so tests can pick.
#include <cstdint>
#include <optional>

namespace bx {

class ColourPicker {
public:
    virtual ~ColourPicker() = default;
    // A packed colour (red + 256 green + 65536 blue) chosen by the user starting from `initial`,
    // or nothing when the user cancelled.
    virtual std::optional<int32_t> pick(int32_t initial) = 0;
};

} // namespace bx
