#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"
#include "host.h"
#include "options.h"
#include "paintqueue.h"
#include "random.h"
#include "rules.h"
#include "updaterows.h"
#include "worldstate.h"

namespace bx {

namespace test {
struct DriverProbe;
}

// The simulator's tick driver and its three phases (create, draw, run), working on the one
// options record and world state of the program. Reaches the windows only through the host
// and the canvas. Single-threaded: everything runs from the owner's timer and commands.
// The world state is the owner's to keep (its readers hold it from the start); it changes only
// through the operations here. The cursors of the phases and the rules' scratch are its own.
class Simulation {
public:
    Simulation(SimulationOptions& options, WorldState& world, RandomSource& rng, SimulationHost& host,
               Canvas& canvas);

    SimulationOptions& options() { return options_; }
    const WorldState& world() const { return world_; }
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
    // Returns the slices it took.
    int createWorld();
    void startStop();
    // Never shown, and running from now on: creation hands straight over to the generation
    // passes and progress captions go nowhere (bramblex-run and the Python module).
    void startHeadless();
    void reset();
    // A reset whose new world, once made, is saved (the host's worldCreated(true)).
    void resetAndSave();
    // Asks first when promptOnReset is set; returns whether the world was reset.
    bool confirmReset();
    void restartCreation();
    // Every option at its default, the identity strings of this version with helpFilePath, and
    // the view and the driver as the program starts; the grids, the counters and the square in
    // hand wait for the next reset or load.
    void restoreDefaults(std::string helpFilePath);
    // Replaces the world with a saved one: its grids, fitted to the options' grid size, and its
    // counters, and every cursor (creation, update, drawing) at square 1. A world being created is abandoned
    // for it, and so is the save it was made for; the commands creation locked come back. Lays the windows
    // out and redraws.
    void loadWorld(SavedWorld saved);
    // Finishes at once the redraw a load began, drawn even when hidden: the redraw leaves the
    // sweep's square at column 0, row 0, where the next pass goes on, so that a hidden run takes
    // the course the simulator's ticks take after a load.
    void continueLoadedWorld();
    // While a PauseHold (pausehold.h) parks the phase.
    bool paused() const { return paused_; }
    // Redraw the whole world (and show the counters); nothing while a world is being created.
    void refresh();
    void redrawWorld();

    // How the world is shown. Square edges are in pixels.
    // A new square size also starts the count of lifeless generations again.
    void setSquareSize(int pixels);
    // Halves the squares until the world fits the area; 1-pixel squares always stay.
    void fitSquaresTo(int widthPixels, int heightPixels);
    // Hiding clears the read-out, which no longer follows the mouse, and drops a redraw in
    // progress when the simulation runs: the update goes on unseen. A world being created is
    // finished first. Showing lets the read-out follow the mouse again.
    void setShown(bool shown);
    // Full screen on a screen of that size: the square edge is the screen's width or height over
    // the grid's, whichever is smaller, rounded; the read-out is cleared and still until full
    // screen is left.
    void enterFullScreen(int widthPixels, int heightPixels);
    void leaveFullScreen();
    void setOrganismsShown(bool shown);
    void setEnvironmentShown(bool shown);
    // Update passes (and drawing passes) a tick runs.
    void setPassesPerTick(int passes);
    int passesPerTick() const { return driver_.passesPerTick; }
    // The mouse at (x, y) pixels over the canvas: while the read-out follows it, the square there
    // is shown now and again after every update pass.
    void pointerMoved(int x, int y);

    // Paints the squares a shown world's passes updated since this was last done. A canvas that
    // shows frames (Canvas::showsFrames) has its owner call it when a frame is due and whenever
    // it paints or reads its pixels; any other canvas is painted after every pass.
    void paintWaiting();

private:
    void createSlice();
    void drawSlice();
    void runSimulationPasses();
    void paintSquare();
    void dropPendingRedraw();
    // Where the phases stand and what their rules carry from one slice to the next. Column and
    // row are 1-based grid squares; 0 is "before the first".
    struct DriverState {
        int squareX = 0; // square being created, painted or updated; shared by the phases
        int squareY = 0;
        int drawColumn = 0;
        int drawRow = 0;
        int stepColumn = 0;
        int stepRow = 0;
        int organismsPlaced = 0;
        int environmentsPlaced = 0;
        int colourCycle = 0; // shared by every Primary and Choose pick; survives world resets
        Rgb paintColour;     // the colour being placed; an unknown colour scheme leaves it as it was
        int passesPerTick = 1;
        bool saveAfterCreate = false;
        int deathCount = 0; // consecutive lifeless generations; -1 once a dead world was handled
        // The pointer over the canvas in pixels, and the position being inspected (pixels on
        // entry, square column/row after inspection).
        int mouseX = 0;
        int mouseY = 0;
        int inspectX = 0;
        int inspectY = 0;
        int32_t chanceRoll = 0; // last 1-in-N roll
    };

    // Read-out of the square under (inspectX, inspectY) pixels; replaces them with the square.
    void showCurrentSquare();
    void clearCurrentSquare();
    // Creation, update and drawing begin again at square 1 (a new or loaded world).
    void cursorsAtFirstSquare();

    friend class PauseHold;
    friend struct test::DriverProbe; // the tests' one way to the driver's state
    // Parks the phase: ticks do nothing until resume() puts it back. resume() returns the phase
    // it put back; without a pause it does nothing.
    void pause();
    Phase resume();

    void creationStep();
    void advanceStep();
    void endStep();
    void createEnvironments();
    void createOrganisms();
    void finishCreation();
    void showProgress(std::string_view text);
    // Templates over the random source: the update runs on a register-held generator stream.
    template <class Rng> Rng updatePass(Rng rng, const RuleParams& params, int stepsLeft);
    // Queues count squares of column from firstRow for painting, before a pass updates them;
    // returns the first one's number in the queue.
    uint64_t queueSquares(int column, int firstRow, int count);
    // Clears the canvas, and forgets the squares waiting to be painted on it.
    void clearCanvas();
    void endOfColumn();
    void endOfGeneration();
    bool handleDeadWorld();
    void fillGrid(Grid& grid, const std::function<Rgb()>& colourOfNextSquare);
    const Rgb& pickedColour(int colourMode, const std::array<UserColour, 6>& userColours);

    SimulationOptions& options_;
    WorldState& world_;
    DriverState driver_;
    RandomSource& rng_;
    RandomGenerator* const streamable_; // rng_ when the update may run on its stream, else null
    SimulationHost& host_;
    Canvas& canvas_;
    PaintQueue waiting_;                             // squares updated by shown passes, not yet painted
    const CpuVariant cpuVariant_ = bestCpuVariant(); // the build of the update's loop it runs
    bool inTick_ = false;
    bool paused_ = false;
    Phase pausedPhase_ = Phase::Idle;
    enum class Step { None, Waiting, Running, Ended };
    Step stepState_ = Step::None; // Waiting: for creation or drawing to finish first
};

// Divisor of a column into passes: 1 for slowdown 0 or less, slowdown + 1 above.
int columnDivisor(int slowdown);
// Squares one pass may update or paint: round((gridSizeY + 1) / divisor), at least 1.
int passBudget(int gridSizeY, int slowdown);

} // namespace bx
