#include "saverworld.h"

#include <algorithm>
#include <tuple>
#include <utility>

#include "numeric.h"
#include "painting.h"
#include "rules.h"

namespace bx {
namespace {

// A start count: U × (high − low + 1) + low, rounded, never below 1.
int seedCount(float u, int low, int high) {
    return std::max(1, roundToInt(static_cast<double>(u) * (high - low + 1) + low));
}

int perArea(int area, float per) {
    return roundToInt(static_cast<float>(area) / per);
}

// The grid a surface of the mode asks for: its pixels divided by the square size. Other modes
// keep the world's grid.
std::pair<int, int> gridFor(const SaverWorld& world, SurfaceSize size) {
    switch (world.saverMode) {
    case SaverMode::FullScreen:
    case SaverMode::Config:
    case SaverMode::HostWindow:
        // Divided by the setting as read: a fraction makes the grid differ from the painted size.
        return {roundToInt(std::max(size.width, 0) / world.squareSizeSetting),
                roundToInt(std::max(size.height, 0) / world.squareSizeSetting)};
    case SaverMode::Preview:
        return {roundToInt(std::max(size.width, 0) / double(previewSquareSize)),
                roundToInt(std::max(size.height, 0) / double(previewSquareSize))};
    default:
        return {world.gridSizeX, world.gridSizeY};
    }
}

void sizeToSurface(SaverWorld& world, SaverHost& host) {
    std::tie(world.gridSizeX, world.gridSizeY) = gridFor(world, host.surfaceSize(world.saverMode));
    if (world.saverMode == SaverMode::Preview)
        world.squareSize = previewSquareSize;
}

// The surface was resized (a host window, a screen added or taken away) so that it asks for
// another grid.
bool surfaceChanged(const SaverWorld& world, SaverHost& host) {
    return gridFor(world, host.surfaceSize(world.saverMode)) != std::pair{world.gridSizeX, world.gridSizeY};
}

bool hasSquares(const SaverWorld& world) {
    return world.gridSizeX >= 1 && world.gridSizeY >= 1;
}

// The simulator's default options over the saver's whole grid: the rules' parameters and the
// environment seeds' rings.
SimulationOptions saverOptions(const SaverWorld& world) {
    SimulationOptions options;
    options.gridSizeX = world.gridSizeX;
    options.gridSizeY = world.gridSizeY;
    return options;
}

} // namespace

void createWorld(SaverWorld& world, SaverHost& host, RandomSource& rng) {
    world.squareSize = roundToInt(world.squareSizeSetting);
    world.squareX = world.squareY = 1;
    world.stepRow = world.stepColumn = 1;
    world.worldDead = 0;
    sizeToSurface(world, host);

    // The square count is a plain int: large screens at small squares are not limited.
    const int area = hasSquares(world) ? world.gridSizeX * world.gridSizeY : 0;
    const int per300 = perArea(area, 300), per400 = perArea(area, 400);
    const int per200 = perArea(area, 200), per100 = perArea(area, 100);
    world.envSeeds = seedCount(rng.next(), per400, per300);
    world.orgSeeds = seedCount(rng.next(), per200, per100);

    world.orgGrid = Grid(std::max(world.gridSizeX, 0), std::max(world.gridSizeY, 0));
    world.envGrid = Grid(std::max(world.gridSizeX, 0), std::max(world.gridSizeY, 0));
    rng.reseed();
    host.enableTimer(world.saverMode);
    // A surface smaller than one square gets no seeds: their positions would lie off the grids.
    if (!hasSquares(world))
        return;

    const SimulationOptions options = saverOptions(world);
    world.creating = true;
    for (int i = 0; i < world.envSeeds; ++i) {
        host.letEventsRun();
        const SeedPosition seed = drawSeedPosition(world.gridSizeX, world.gridSizeY, rng);
        const Rgb colour = randomColour(rng);
        placeEnvironmentSeed(world.envGrid, seed, colour, options.environmentStartDecay,
                             options.environmentBlending, world.gridSizeX, world.gridSizeY, {});
    }
    for (int i = 0; i < world.orgSeeds; ++i) {
        const SeedPosition seed = drawSeedPosition(world.gridSizeX, world.gridSizeY, rng);
        const Rgb colour = randomColour(rng);
        world.orgGrid.set(seedSquare(seed.x), seedSquare(seed.y), colour);
    }
    world.creating = false;
}

void paintSaverSquare(const SaverWorld& world, Canvas& canvas) {
    const Rgb& organism = world.orgGrid.at(world.squareX, world.squareY);
    const Rgb& environment = world.envGrid.at(world.squareX, world.squareY);
    const bool organisms = world.displayMode != DisplayMode::Environments;
    const bool environments = world.displayMode != DisplayMode::Organisms;
    paintSquareModel(canvas, world.squareX, world.squareY, world.squareSize, organism, environment, organisms,
                     environments);
}

void stepWorld(SaverWorld& world, SaverHost& host, RandomSource& rng) {
    if (world.creating)
        return;
    if (world.rebuildRequested || surfaceChanged(world, host)) {
        world.rebuildRequested = false;
        createWorld(world, host, rng); // built for the surface as it is now
    }
    if (!hasSquares(world))
        return;
    rng.reseed();
    if (world.displayCountdown < 1)
        world.displayCountdown = static_cast<float>(world.gridSizeX * 10) * rng.next();

    const RuleParams params = ruleParamsOf(saverOptions(world), world.envGrid, world.orgGrid);
    Canvas* canvas = host.surfaceCanvas(world.saverMode);
    world.stepRow = 1;
    world.squareX = world.stepColumn;
    while (world.stepRow < world.gridSizeY + 1) {
        world.squareY = world.stepRow;
        updateSquareLayers(world.envGrid, world.orgGrid, world.squareX, world.squareY, world.environmentCount,
                           world.organismCount, params, rng, world.chanceRoll);
        world.stepRow += 1;
        if (canvas)
            paintSaverSquare(world, *canvas);
    }

    world.stepRow = 1;
    world.stepColumn += 1;
    if (world.stepColumn == world.gridSizeX + 1) {
        world.stepColumn = 1;
        if (world.worldDead == 1)
            createWorld(world, host, rng);
    }
    world.squareX = world.stepColumn;
    world.worldDead = (world.organismCount == 0 && world.environmentCount == 0) ? 1 : 0;
    world.organismCount = world.environmentCount = 0;
    world.squareY = 1;
    world.displayCountdown -= 1;
    if (world.displayCountdown < 1)
        world.displayMode = world.displayMode == DisplayMode::Environments
                                ? DisplayMode::Both
                                : static_cast<DisplayMode>(static_cast<int>(world.displayMode) + 1);
}

} // namespace bx
