#include <algorithm>
#include <utility>

#include "simulation.h"

namespace bx {
namespace {

std::string creationCaption(const SimulationOptions& o, const WorldState& w) {
    const bool randomEnvironments = o.environmentStartMode == StartRandom;
    long done = 0, total = 0;
    if (randomEnvironments && !o.fullOrganisms) {
        done = w.organismsPlaced + w.environmentsPlaced + 1;
        total = o.startOrganisms + o.startEnvironments;
    } else if (randomEnvironments) {
        done = w.environmentsPlaced + 1;
        total = o.startEnvironments;
    } else if (!o.fullOrganisms) {
        done = w.organismsPlaced + 1;
        total = o.startOrganisms;
    } else {
        return {};
    }
    return "Creating world, " + std::to_string(done) + " of " + std::to_string(total) + ".";
}

} // namespace

void Simulation::createSlice() {
    rng_.reseed();
    const std::string caption = creationCaption(options_, world_);
    if (!caption.empty())
        showProgress(caption);
    if (world_.environmentsPlaced < options_.startEnvironments)
        createEnvironments();
    if (world_.organismsPlaced < options_.startOrganisms)
        createOrganisms();
    if (world_.organismsPlaced > options_.startOrganisms - 1 &&
        world_.environmentsPlaced > options_.startEnvironments - 1)
        finishCreation();
}

const Rgb& Simulation::pickedColour(int colourMode, const std::array<UserColour, 6>& userColours) {
    pickNewColour(colourMode, userColours, world_.colourCycle, rng_, world_.paintColour);
    return world_.paintColour;
}

// Every square of the grid (column 0 and row 0 included), column by column, gets a picked colour.
void Simulation::fillGrid(Grid& grid, const std::function<Rgb()>& colourOfNextSquare) {
    const int lastColumn = std::min(options_.gridSizeX, grid.sizeX());
    const int lastRow = std::min(options_.gridSizeY, grid.sizeY());
    for (int c = 0; c <= lastColumn; ++c) {
        for (int w = 0; w <= lastRow; ++w) {
            grid.set(c, w, colourOfNextSquare());
        }
    }
    world_.squareX = world_.squareY = 0;
}

void Simulation::createEnvironments() {
    const int mode = options_.environmentStartMode;
    if (mode == StartRandom) {
        const SeedPosition seed = drawSeedPosition(options_.gridSizeX, options_.gridSizeY, rng_);
        pickedColour(options_.environmentColourMode, options_.envUserColour);
        placeEnvironmentSeed(world_.envGrid, seed, world_.paintColour, options_.environmentStartDecay,
                             options_.environmentBlending, options_.gridSizeX, options_.gridSizeY,
                             [this] { host_.processEvents(); });
        ++world_.environmentsPlaced;
        return;
    }
    if (mode == StartFull || mode == StartIdeal || mode == StartNone) {
        if (mode == StartFull) {
            fillGrid(world_.envGrid,
                     [this] { return pickedColour(options_.environmentColourMode, options_.envUserColour); });
        } else {
            const double v = mode == StartIdeal ? 255 : 0;
            fillGrid(world_.envGrid, [v] { return Rgb{v, v, v}; });
        }
        world_.environmentsPlaced = options_.startEnvironments + 1;
        return;
    }
    ++world_.environmentsPlaced;
}

void Simulation::createOrganisms() {
    if (options_.fullOrganisms) {
        fillGrid(world_.orgGrid,
                 [this] { return pickedColour(options_.organismColourMode, options_.orgUserColour); });
        world_.organismsPlaced = options_.startOrganisms;
        world_.squareX = 0;
        return;
    }
    const SeedPosition seed = drawSeedPosition(options_.gridSizeX, options_.gridSizeY, rng_);
    pickedColour(options_.organismColourMode, options_.orgUserColour);
    const int c = seedSquare(seed.x), r = seedSquare(seed.y);
    if (world_.orgGrid.contains(c, r))
        world_.orgGrid.set(c, r, world_.paintColour);
    ++world_.organismsPlaced;
}

void Simulation::finishCreation() {
    world_.organismCount = options_.startOrganisms;
    world_.environmentCount = options_.startEnvironments;
    world_.generation = 0;
    world_.phase = PhaseIdle;
    host_.setMainCaption(options_.mainTitle);
    host_.setTimerEnabled(false);
    refresh();
    if (!world_.simulationShown && world_.running) {
        world_.phase = PhaseRun;
        host_.setTimerEnabled(true);
    }
    // A world made to be saved is saved before the commands that creation locked come back.
    host_.worldCreated(std::exchange(world_.saveAfterCreate, false));
    host_.setCreationCommandsEnabled(true);
    world_.organismCount = world_.environmentCount = 0;
    world_.stepRow = world_.stepColumn = 0;
}

} // namespace bx
