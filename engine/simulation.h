#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "host.h"
#include "options.h"
#include "random.h"
#include "rules.h"
#include "worldstate.h"

// The generation update is built for newer x86-64 processors as well and the loader picks the
// build the processor runs (the rules are written so that every build gives the same bits:
// no fused multiply-add, see the top CMakeLists.txt).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define BX_CPU_CLONES [[gnu::target_clones("arch=x86-64-v3", "arch=x86-64-v2", "default")]]
#else
#define BX_CPU_CLONES
#endif

namespace bx {

// A square of a pass, in the pass's column, overwritten after its own update: its colours then.
struct PassOverwrite {
    int row;
    SquareColours colours;
};

// The simulator's tick driver and its three phases (create, draw, run), working on the one
// options record and world state of the program. Reaches the windows only through the host
// and the canvas. Single-threaded: everything runs from the owner's timer and commands.
class Simulation {
public:
    Simulation(SimulationOptions& options, WorldState& world, RandomSource& rng, SimulationHost& host,
               Canvas& canvas);

    SimulationOptions& options() { return options_; }
    WorldState& world() { return world_; }
    SimulationHost& host() { return host_; }
    Canvas& canvas() { return canvas_; }

    // Timer handler: runs the slice of the current phase; a phase that ends lets the next one
    // start in the same tick. A tick that arrives while a slice lets events run is skipped.
    void tick();
    // A stopped simulation runs until the generation in progress ends and stops again; a world
    // being created or drawn is finished first. Nothing happens while it runs.
    void stepGeneration();
    bool stepping() const { return stepState_ != Step::None; }
    // Creation slices until the world is made, one per tick's worth of work; unlike ticks, the
    // phase that follows creation does not begin (headless runs that want no generation yet).
    void createWorld();
    void startStop();
    void reset();
    // Asks first when promptOnReset is set; returns whether the world was reset.
    bool confirmReset();
    void restartCreation();
    // Parks the phase: ticks do nothing until resume() puts it back (the options window waits
    // so). resume() returns the phase it put back; without a pause it does nothing.
    void pause();
    int resume();
    bool paused() const { return paused_; }
    // The simulation was hidden: a redraw in progress is dropped when the simulation runs, and
    // the update goes on unseen. A world being created is finished first.
    void dropPendingRedraw();
    // Redraw the whole world (and show the counters); nothing while a world is being created.
    void refresh();
    void redrawWorld();

    void createSlice();
    void drawSlice();
    void runSimulationPasses();
    void paintSquare();

    // Read-out of the square under (inspectX, inspectY) pixels; replaces them with the square.
    void showCurrentSquare();
    void clearCurrentSquare();

private:
    void creationStep();
    void advanceStep();
    void endStep();
    void createEnvironments();
    void createOrganisms();
    void finishCreation();
    void showProgress(std::string_view text);
    // Templates over the random source: the update runs on a register-held generator stream.
    template <class Rng> Rng updatePass(Rng rng, const RuleParams& params, int stepsLeft);
    template <bool painted, class Rng>
    BX_CPU_CLONES Rng updateRows(Rng rng, const RuleParams& params, int stepsLeft);
    // The colours a pass paints into passColours_, from the grids and the overwrites up to end.
    BX_CPU_CLONES void keepPassColours(int column, int firstRow, int count, const PassOverwrite* end);
    // Paints the squares of column from firstRow whose colours updateRows kept in passColours_.
    void paintPass(int column, int firstRow, int count);
    void endOfColumn();
    void endOfGeneration();
    bool handleDeadWorld();
    void fillGrid(Grid& grid, const std::function<Rgb()>& colourOfNextSquare);
    const Rgb& pickedColour(int colourMode, const std::array<UserColour, 6>& userColours);

    SimulationOptions& options_;
    WorldState& world_;
    RandomSource& rng_;
    SimulationHost& host_;
    Canvas& canvas_;
    std::vector<SquareColours> passColours_;    // a pass's squares as each was left by its update
    std::vector<PassOverwrite> passOverwrites_; // a pass's squares overwritten after their update
    bool inTick_ = false;
    bool paused_ = false;
    int pausedPhase_ = PhaseIdle;
    enum class Step { None, Waiting, Running, Ended };
    Step stepState_ = Step::None; // Waiting: for creation or drawing to finish first
};

// Divisor of a column into passes: 1 for slowdown 0 or less, slowdown + 1 above.
int columnDivisor(int slowdown);
// Squares one pass may update or paint: round((gridSizeY + 1) / divisor).
int passBudget(int gridSizeY, int slowdown);

} // namespace bx
