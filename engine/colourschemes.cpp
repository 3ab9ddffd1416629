#include "colourschemes.h"

namespace bx {
namespace {

constexpr std::array<UserColour, 3> primaryCycle{{{255, 0, 0}, {0, 0, 255}, {255, 255, 0}}};
constexpr std::array<UserColour, 6> chooseStart{
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {255, 0, 255}, {0, 255, 255}}};

// The Organisms page's Choose button keeps its historical name, "orgcolorschose".
constexpr std::array schemes{
    ColourScheme{ColourRandom, "Random", "orgcolorsrandom", "envcolorsrandom", ColourPick::Draw, {}},
    ColourScheme{ColourPrimary, "Primary", "orgcolorsprimary", "envcolorsprimary", ColourPick::FixedCycle,
                 primaryCycle},
    ColourScheme{ColourChoose, "Choose", "orgcolorschose", "envcolorschoose", ColourPick::UserCycle,
                 chooseStart},
};

constexpr bool modesRunFromOne() {
    for (std::size_t k = 0; k < schemes.size(); ++k)
        if (schemes[k].mode != static_cast<int>(k) + 1)
            return false;
    return true;
}
static_assert(modesRunFromOne() && schemes.size() == lastColourMode);

} // namespace

std::span<const ColourScheme> colourSchemes() {
    return schemes;
}

const ColourScheme* colourSchemeOf(int mode) {
    if (mode < 1 || mode > static_cast<int>(schemes.size()))
        return nullptr;
    return &schemes[static_cast<std::size_t>(mode - 1)];
}

std::array<UserColour, 6> swatchColoursOf(const ColourScheme& scheme) {
    std::array<UserColour, 6> shown{};
    if (scheme.pick == ColourPick::Draw || scheme.colours.empty())
        return shown;
    for (std::size_t k = 0; k < shown.size(); ++k)
        shown[k] = scheme.colours[k * scheme.colours.size() / shown.size()];
    return shown;
}

} // namespace bx
