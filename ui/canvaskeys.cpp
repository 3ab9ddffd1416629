#include "canvaskeys.h"

#include <array>

#include "text/strings.h"
#include "viewoperations.h"

namespace bx {
namespace {

using V = ViewOperations;
using F = InFullScreen;

constexpr std::array keys{
    CanvasKey{"m", "", "full-screen mode on or off", F::Acts, &V::toggleFullScreen},
    CanvasKey{"e", "", "hide or show the environments", F::Acts, &V::toggleEnvironment},
    CanvasKey{"o", "", "hide or show the organisms", F::Acts, &V::toggleOrganisms},
    CanvasKey{"s", "", "start or stop (not while a world is created)", F::Acts, &V::startOrStop},
    CanvasKey{"h", "", "hide the simulation", F::Acts, &V::toggleSimulationShown},
    CanvasKey{"r", "", "redraw the whole world", F::Acts, &V::refresh},
    CanvasKey{"n", "", "step one generation", F::OnlyLeaves, &V::stepGeneration},
    CanvasKey{"t", "", "the Statistics window", F::OnlyLeaves, &V::openStatistics},
    CanvasKey{"F1", "", "the help's contents", F::OnlyLeaves, &V::openHelpContents},
    CanvasKey{"+", "=", "bigger squares", F::LeavesThenActs, &V::biggerSquares},
    CanvasKey{"-", "_", "smaller squares", F::LeavesThenActs, &V::smallerSquares},
};

} // namespace

std::span<const CanvasKey> canvasKeys() {
    return keys;
}

const CanvasKey* canvasKeyOf(std::string_view keyName) {
    const std::string lowered =
        keyName.size() == 1 ? std::string(1, asciiLower(keyName[0])) : std::string(keyName);
    for (const CanvasKey& k : keys)
        if (k.key == lowered ||
            (lowered.size() == 1 && k.alsoKeys.find(lowered[0]) != std::string_view::npos))
            return &k;
    return nullptr;
}

} // namespace bx
