#pragma once
// How the world is shown: square size and layout, full screen, hiding the simulation or one
// layer, slowdown, and the display window's keys and mouse.
#include <functional>

#include "displaywindow.h"
#include "engine/options.h"
#include "engine/simulation.h"
#include "engine/worldstate.h"
#include "platform/cursor.h"
#include "platform/screen.h"

namespace bx {

class MainWindow;

// The options window's part in layout and in locking commands during creation. The options
// window implements it; until it exists nothing happens.
class OptionsWindowLink {
public:
    virtual ~OptionsWindowLink() = default;
    virtual void showOptionsInWindow() {}
    virtual void setGridSliderMaxima(int /*maxX*/, int /*maxY*/) {}
    virtual void setCreationCommandsEnabled(bool /*enabled*/) {}
};

// Square edge in pixels for a square-size slider value (1 1, 2 2, 3 4, 4 8, ... 8 128), and back.
int squareSizeForSlider(int value);
int sliderForSquareSize(int squareSize);
// Passes per tick for a slowdown (faster columns for negative values).
int passesPerTickFor(int slowdown, int gridSizeY);

class ViewOperations : public DisplayEvents {
public:
    ViewOperations(SimulationOptions& options, const WorldState& world, Simulation& sim, MainWindow& main,
                   DisplayWindow& display, const ScreenMetrics& screen, CursorCounter& cursor,
                   OptionsWindowLink& optionsWindow);

    void refresh() { sim_.refresh(); }
    void redrawWorld() { sim_.redrawWorld(); }
    void layoutWindows();
    void syncMainControls();
    void applySlowdown();
    void squareSizeChanged();
    void toggleSimulationShown();
    void toggleFullScreen();
    void toggleEnvironment();
    void toggleOrganisms();

    // The display window's key commands (canvaskeys.h).
    void startOrStop();
    void stepGeneration();
    void openStatistics();
    void openHelpContents();
    void biggerSquares() { stepSquareSize(+1); }
    void smallerSquares() { stepSquareSize(-1); }

    // The main window's sliders, when the user moves them (the window shows their captions).
    void sizechange(int value);
    void slowdownChanged(int value);

    // The display window's events.
    void keyPressed(std::string_view keyName) override;
    void mousePressed() override;
    void mouseMoved(double x, double y) override;
    void closeRequested() override;

    // What the t and F1 keys open.
    void setShowStatistics(std::function<void()> show) { showStatistics_ = std::move(show); }
    void setShowHelpContents(std::function<void()> show) { showHelpContents_ = std::move(show); }

private:
    struct LayerControls {
        const bool& shown;
        void (Simulation::*setShown)(bool);
        const bool& otherShown;
        void (MainWindow::*showShown)(bool shown); // its captions
        void (ViewOperations::*toggleOther)();
    };
    void toggleLayer(const LayerControls& layer);
    void stepSquareSize(int delta);

    SimulationOptions& options_;
    const WorldState& world_;
    Simulation& sim_;
    MainWindow& main_;
    DisplayWindow& display_;
    const ScreenMetrics& screen_;
    CursorCounter& cursor_;
    OptionsWindowLink* optionsWindow_;
    std::function<void()> showStatistics_;
    std::function<void()> showHelpContents_;
};

} // namespace bx
