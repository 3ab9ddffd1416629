#pragma once
// The colour schemes of new organisms and environments, one row each. The options window's
// scheme buttons and the engine's colour pick both work from this table.
#include <array>
#include <span>
#include <string_view>

#include "options.h"

namespace bx {

// How a scheme colours each new organism or environment.
enum class ColourPick {
    Draw,       // three random components
    FixedCycle, // the scheme's own colours in turn
    UserCycle,  // the six user colours in turn; the swatches are the user's to set
};

struct ColourScheme {
    int mode;                   // the number an options record and a profile keep (ColourMode)
    std::string_view caption;   // its button's caption
    std::string_view orgButton; // the objectName of its button on the Organisms page
    std::string_view envButton; // the same on the Environment page
    ColourPick pick;
    // FixedCycle: the cycle; UserCycle: what the swatches start with; Draw: none.
    std::span<const UserColour> colours;
};

// Every scheme, in the order of its buttons; the modes run 1, 2, 3, ... in that order.
std::span<const ColourScheme> colourSchemes();
// The scheme of a mode; nullptr for a mode no row has.
const ColourScheme* colourSchemeOf(int mode);
// What the six swatches show: a fixed cycle spread over them in order (three colours: two
// swatches each), the user cycle's starting colours, or black for a drawn colour.
std::array<UserColour, 6> swatchColoursOf(const ColourScheme& scheme);

} // namespace bx
