#pragma once
// The screensaver's world: the simulator's rules at their default options on a world sized to
// the drawing surface. createWorld builds a whole world in one call; stepWorld updates and paints
// one column per tick. No Qt: the surfaces are reached through SaverHost.
#include <cstdint>

#include "canvas.h"
#include "grid.h"
#include "layerrules.h"
#include "random.h"
#include "tickpace.h"

namespace bx {

// Which surface the engine draws on. HostWindow is a window of a host screensaver (the X
// screensaver conventions): sized like the full screen, by the stored square size.
enum class SaverMode { None, FullScreen, Config, Preview, HostWindow };

// The layers painted; the world goes through them in this order, again and again.
enum class DisplayMode { Both = 1, Organisms = 2, BothAgain = 3, Environments = 4 };

inline constexpr int previewSquareSize = 6;

struct SaverWorld {
    Grid orgGrid, envGrid;
    int gridSizeX = 0, gridSizeY = 0; // in squares; 0 when the surface is smaller than one square
    int squareSize = 6;               // pixels per square edge for painting
    int squareX = 1, squareY = 1;
    int stepColumn = 1, stepRow = 1;                 // the sweep: the column being updated, the next row
    int32_t organismCount = 0, environmentCount = 0; // of the column just swept
    int worldDead = 0;                               // 1 when the last finished column held neither layer
    DisplayMode displayMode = DisplayMode::Both;
    float displayCountdown = 0; // columns left before displayMode advances
    bool rebuildRequested = false;
    int envSeeds = 0, orgSeeds = 0;
    int32_t chanceRoll = 0;
    // The square size as read from the settings (2 … 25, may have a fraction).
    double squareSizeSetting = 6;
    SaverMode saverMode = SaverMode::None;
    // True while createWorld lets events run: a tick arriving then does not step the half-built world.
    bool creating = false;
};

// The surface size in pixels.
struct SurfaceSize {
    int width = 0;
    int height = 0;
};

// What the engine needs of the windows.
class SaverHost {
public:
    virtual ~SaverHost() = default;
    // The client area of the surface of a mode, in pixels (0 × 0 when the mode has none).
    virtual SurfaceSize surfaceSize(SaverMode saverMode) = 0;
    // The canvas of a mode, or null: then nothing is painted.
    virtual Canvas* surfaceCanvas(SaverMode saverMode) = 0;
    // Starts the 1 ms timer of the surface of a mode.
    virtual void enableTimer(SaverMode saverMode) = 0;
    // Lets pending window events run (once before each environment seed).
    virtual void letEventsRun() = 0;
};

// The world's pace: a column a tick of the shared pace.
using ColumnPace = TickPace;

// Builds a new world for world.saverMode. Paints nothing: the sweep repaints the surface.
void createWorld(SaverWorld& world, SaverHost& host, RandomSource& rng);
// One tick: rebuild when asked, then update and paint column stepColumn. A world smaller than one
// square in either direction is not stepped.
void stepWorld(SaverWorld& world, SaverHost& host, RandomSource& rng);
// Paints square (squareX, squareY) as displayMode says.
void paintSaverSquare(const SaverWorld& world, Canvas& canvas);

} // namespace bx
