#include <algorithm>
#include <utility>

#include "simulation.h"

namespace bx {
namespace {

std::string creationCaption(const SimulationOptions& o, int organismsPlaced, int environmentsPlaced) {
    const bool randomEnvironments = o.environmentStartMode == StartRandom;
    long done = 0, total = 0;
    if (randomEnvironments && !o.fullOrganisms) {
        done = organismsPlaced + environmentsPlaced + 1;
        total = o.startOrganisms + o.startEnvironments;
    } else if (randomEnvironments) {
        done = environmentsPlaced + 1;
        total = o.startEnvironments;
    } else if (!o.fullOrganisms) {
        done = organismsPlaced + 1;
        total = o.startOrganisms;
    } else {
        return {};
    }
    return "Creating world, " + std::to_string(done) + " of " + std::to_string(total) + ".";
}

} // namespace

void Simulation::createSlice() {
    rng_.reseed();
    const std::string caption =
        creationCaption(options_, driver_.organismsPlaced, driver_.environmentsPlaced);
    if (!caption.empty())
        showProgress(caption);
    if (driver_.environmentsPlaced < options_.startEnvironments)
        createEnvironments();
    if (driver_.organismsPlaced < options_.startOrganisms)
        createOrganisms();
    if (driver_.organismsPlaced > options_.startOrganisms - 1 &&
        driver_.environmentsPlaced > options_.startEnvironments - 1)
        finishCreation();
}

const Rgb& Simulation::pickedColour(int colourMode, const std::array<UserColour, 6>& userColours) {
    pickNewColour(colourMode, userColours, driver_.colourCycle, rng_, driver_.paintColour);
    return driver_.paintColour;
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
    driver_.squareX = driver_.squareY = 0;
}

void Simulation::createEnvironments() {
    const int mode = options_.environmentStartMode;
    if (mode == StartRandom) {
        const SeedPosition seed = drawSeedPosition(options_.gridSizeX, options_.gridSizeY, rng_);
        pickedColour(options_.environmentColourMode, options_.envUserColour);
        placeEnvironmentSeed(world_.envGrid, seed, driver_.paintColour, options_.environmentStartDecay,
                             options_.environmentBlending, options_.gridSizeX, options_.gridSizeY,
                             [this] { host_.processEvents(); });
        ++driver_.environmentsPlaced;
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
        driver_.environmentsPlaced = options_.startEnvironments + 1;
        return;
    }
    ++driver_.environmentsPlaced;
}

void Simulation::createOrganisms() {
    if (options_.fullOrganisms) {
        fillGrid(world_.orgGrid,
                 [this] { return pickedColour(options_.organismColourMode, options_.orgUserColour); });
        driver_.organismsPlaced = options_.startOrganisms;
        driver_.squareX = 0;
        return;
    }
    const SeedPosition seed = drawSeedPosition(options_.gridSizeX, options_.gridSizeY, rng_);
    pickedColour(options_.organismColourMode, options_.orgUserColour);
    const int c = seedSquare(seed.x), r = seedSquare(seed.y);
    if (world_.orgGrid.contains(c, r))
        world_.orgGrid.set(c, r, driver_.paintColour);
    ++driver_.organismsPlaced;
}

void Simulation::finishCreation() {
    world_.organismCount = options_.startOrganisms;
    world_.environmentCount = options_.startEnvironments;
    world_.generation = 0;
    world_.phase = Phase::Idle;
    host_.setMainCaption(options_.mainTitle);
    host_.setTimerEnabled(false);
    refresh();
    if (!world_.simulationShown && world_.running) {
        world_.phase = Phase::Run;
        host_.setTimerEnabled(true);
    }
    // A world made to be saved is saved before the commands that creation locked come back.
    host_.worldCreated(std::exchange(driver_.saveAfterCreate, false));
    host_.setCreationCommandsEnabled(true);
    world_.organismCount = world_.environmentCount = 0;
    driver_.stepRow = driver_.stepColumn = 0;
}

} // namespace bx
