#include "simulation.h"

#include <algorithm>
#include <utility>

namespace bx {
namespace {

// Clears a flag when the scope ends, also when a slice throws.
class ScopeFlag {
public:
    explicit ScopeFlag(bool& flag) : flag_(flag) { flag_ = true; }
    ~ScopeFlag() { flag_ = false; }
    ScopeFlag(const ScopeFlag&) = delete;
    ScopeFlag& operator=(const ScopeFlag&) = delete;

private:
    bool& flag_;
};

} // namespace

Simulation::Simulation(SimulationOptions& options, WorldState& world, RandomSource& rng, SimulationHost& host,
                       Canvas& canvas)
    : options_(options), world_(world), rng_(rng), streamable_(rng.streamable()), host_(host),
      canvas_(canvas) {}

void Simulation::tick() {
    if (inTick_)
        return; // a slice is letting events run; its scratch state must not be shared
    ScopeFlag busy(inTick_);
    advanceStep();
    if (world_.phase == Phase::Create)
        creationStep();
    if (world_.phase == Phase::Draw)
        drawSlice();
    if (world_.phase == Phase::Run)
        runSimulationPasses();
}

void Simulation::stepGeneration() {
    if (world_.running || stepState_ != Step::None)
        return;
    stepState_ = Step::Waiting;
    host_.setTimerEnabled(true);
}

// A step begins once creation and drawing are done; it is dropped when something else ended its
// run phase (a redraw that finished).
void Simulation::advanceStep() {
    if (stepState_ == Step::Waiting && world_.phase == Phase::Idle) {
        stepState_ = Step::Running;
        world_.phase = Phase::Run; // the update runs, though the simulation is not started
        host_.setTimerEnabled(true);
    } else if (stepState_ == Step::Running && world_.phase == Phase::Idle) {
        stepState_ = Step::None;
    }
}

// The stepped generation ended: the run phase stops (unless the end reset a dead world, whose
// creation goes on), and the captions come back to rest.
void Simulation::endStep() {
    stepState_ = Step::Ended;
    if (world_.phase != Phase::Run)
        return;
    world_.phase = Phase::Idle;
    host_.setTimerEnabled(false);
    if (!world_.fullScreen)
        host_.setDisplayCaption(options_.displayTitle);
    host_.setMainCaption(options_.mainTitle);
}

void Simulation::creationStep() {
    driver_.squareX = driver_.squareY = 0;
    createSlice();
}

int Simulation::createWorld() {
    int slices = 0;
    for (; world_.phase == Phase::Create; ++slices)
        creationStep();
    return slices;
}

void Simulation::startStop() {
    stepState_ = Step::None; // the user's start or stop replaces a step
    if (!world_.running) {
        world_.phase = Phase::Run;
        host_.setTimerEnabled(true);
        if (!world_.fullScreen && world_.simulationShown)
            host_.setDisplayCaption("Running.");
        if (!world_.simulationShown)
            host_.setMainCaption("Running.");
        host_.showRunState(true);
        world_.running = true;
        driver_.deathCount = 0;
    } else {
        world_.phase = Phase::Idle;
        host_.setTimerEnabled(false);
        if (!world_.fullScreen)
            host_.setDisplayCaption(options_.displayTitle);
        host_.setMainCaption(options_.mainTitle);
        host_.showRunState(false);
        world_.running = false;
    }
}

void Simulation::reset() {
    clearCanvas();
    host_.setCreationCommandsEnabled(false);
    host_.setMainCaption(options_.mainTitle);
    host_.setDisplayCaption(options_.displayTitle);
    world_.organismCount = world_.environmentCount = world_.generation = 0;
    cursorsAtFirstSquare();
    host_.showCounters(0, 0, 0);
    host_.layoutWindows();
    clearCurrentSquare();
    host_.worldReset();
    world_.envGrid.clear(options_.gridSizeX, options_.gridSizeY);
    world_.orgGrid.clear(options_.gridSizeX, options_.gridSizeY);
    world_.phase = Phase::Create;
    driver_.environmentsPlaced = driver_.organismsPlaced = 0;
    host_.setTimerEnabled(true);
}

void Simulation::startHeadless() {
    world_.simulationShown = false;
    world_.running = true;
}

void Simulation::resetAndSave() {
    driver_.saveAfterCreate = true;
    reset();
}

bool Simulation::confirmReset() {
    if (options_.promptOnReset) {
        const Question q{"Reset Simulation?",
                         "This will reset all data.\rAre you sure?",
                         MessageIcon::Exclamation,
                         DefaultButton::No,
                         help::reset,
                         options_.helpFilePath};
        if (host_.ask(q) != Answer::Yes)
            return false;
    }
    if (world_.running)
        startStop();
    clearCanvas();
    reset();
    return true;
}

void Simulation::restartCreation() {
    paintWaiting(); // before creation writes new colours into the grids
    world_.phase = Phase::Create;
    driver_.environmentsPlaced = driver_.organismsPlaced = 0;
    host_.setTimerEnabled(true);
}

void Simulation::restoreDefaults(std::string helpFilePath) {
    setDefaultOptions(options_, simulatorMajorVersion, simulatorMinorVersion, std::move(helpFilePath));
    const WorldState start;
    world_.phase = start.phase;
    world_.running = start.running;
    world_.simulationShown = start.simulationShown;
    world_.showOrganisms = start.showOrganisms;
    world_.showEnvironment = start.showEnvironment;
    world_.fullScreen = start.fullScreen;
    world_.squareSize = start.squareSize;
    world_.trackMouse = start.trackMouse;
    const int squareX = driver_.squareX, squareY = driver_.squareY;
    driver_ = DriverState{};
    driver_.squareX = squareX;
    driver_.squareY = squareY;
}

void Simulation::pause() {
    if (paused_)
        return;
    pausedPhase_ = world_.phase;
    world_.phase = Phase::Idle;
    paused_ = true;
}

Phase Simulation::resume() {
    if (paused_) {
        world_.phase = pausedPhase_;
        paused_ = false;
    }
    return world_.phase;
}

void Simulation::redrawWorld() {
    if (world_.phase == Phase::Create)
        return;
    driver_.drawColumn = driver_.drawRow = 1;
    world_.phase = Phase::Draw;
    host_.setTimerEnabled(true);
}

void Simulation::refresh() {
    if (world_.phase == Phase::Create)
        return;
    host_.showCounters(world_.generation, world_.organismCount, world_.environmentCount);
    redrawWorld();
}

void Simulation::showProgress(std::string_view text) {
    if (!world_.fullScreen && world_.simulationShown)
        host_.setDisplayCaption(text);
    if (!world_.simulationShown)
        host_.setMainCaption(text);
}

int columnDivisor(int slowdown) {
    return slowdown <= 0 ? 1 : slowdown + 1;
}

int passBudget(int gridSizeY, int slowdown) {
    // At least one square: a short column cut into more parts than it has rows would else never end.
    return std::max(1, roundToInt(static_cast<double>(gridSizeY + 1) / columnDivisor(slowdown)));
}

} // namespace bx
