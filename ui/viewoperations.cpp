#include "viewoperations.h"

#include "canvaskeys.h"

#include <cmath>

#include "engine/numeric.h"
#include "mainwindow.h"

namespace bx {

int squareSizeForSlider(int value) {
    return value <= 2 ? value : roundToInt(std::pow(2.0, value - 1));
}

int sliderForSquareSize(int squareSize) {
    if (squareSize < 3)
        return squareSize;
    return std::min(8, roundToInt(std::log2(static_cast<double>(squareSize))) + 1);
}

int passesPerTickFor(int slowdown, int gridSizeY) {
    static constexpr double divisors[] = {1, 2, 4, 8, 16}; // slowdown -5 .. -1
    if (slowdown >= 0 || slowdown < -5)
        return 1;
    const int passes = roundToInt(gridSizeY / divisors[slowdown + 5]);
    return passes < 1 ? 1 : passes;
}

ViewOperations::ViewOperations(SimulationOptions& options, const WorldState& world, Simulation& sim,
                               MainWindow& main, DisplayWindow& display, const ScreenMetrics& screen,
                               CursorCounter& cursor, OptionsWindowLink& optionsWindow)
    : options_(options), world_(world), sim_(sim), main_(main), display_(display), screen_(screen),
      cursor_(cursor), optionsWindow_(&optionsWindow) {}

void ViewOperations::layoutWindows() {
    const int width = screen_.widthPixels(), height = screen_.heightPixels();
    sim_.fitSquaresTo(width, height);
    syncMainControls();
    display_.setWindowTitle("");
    if (!world_.fullScreen)
        display_.resize(std::max(4, world_.squareSize * options_.gridSizeX),
                        std::max(4, options_.gridSizeY * world_.squareSize));
    display_.setWindowTitle(QString::fromStdString(options_.displayTitle));
    optionsWindow_->setGridSliderMaxima(width - 50, height + 50);
}

void ViewOperations::syncMainControls() {
    optionsWindow_->showOptionsInWindow();
    main_.setSquareSizeSetting(sliderForSquareSize(world_.squareSize));
    applySlowdown();
}

void ViewOperations::applySlowdown() {
    main_.showSlowdown(options_.slowdown);
    sim_.setPassesPerTick(passesPerTickFor(options_.slowdown, options_.gridSizeY));
}

void ViewOperations::squareSizeChanged() {
    sim_.setSquareSize(squareSizeForSlider(main_.squareSizeSetting()));
    layoutWindows();
    refresh();
    if (!world_.simulationShown)
        toggleSimulationShown();
}

void ViewOperations::toggleSimulationShown() {
    if (!world_.simulationShown) {
        layoutWindows();
        refresh();
        display_.show();
        display_.raise();
        main_.setWindowTitle(QString::fromStdString(options_.mainTitle));
        sim_.setShown(true);
        main_.showSimulationShown(true);
    } else {
        display_.hide();
        sim_.setShown(false);
        main_.showSimulationShown(false);
    }
}

void ViewOperations::toggleFullScreen() {
    if (!world_.fullScreen) {
        if (!world_.simulationShown)
            toggleSimulationShown();
        display_.setWindowTitle("");
        main_.hide();
        display_.enterFullScreen(QRect(0, 0, screen_.widthPixels(), screen_.heightPixels()));
        sim_.enterFullScreen(screen_.widthPixels(), screen_.heightPixels());
        cursor_.show(false);
        display_.clear();
        refresh();
    } else {
        sim_.leaveFullScreen();
        display_.leaveFullScreen();
        main_.show();
        display_.clear();
        refresh();
        // Whatever hid the cursor before, leaving full screen always brings it back.
        cursor_.restore();
        display_.setWindowTitle(QString::fromStdString(options_.displayTitle));
    }
}

// One layer's toggle; the other layer is shown when this one would leave nothing visible.
void ViewOperations::toggleLayer(const LayerControls& layer) {
    const bool show = !layer.shown;
    (main_.*layer.showShown)(show);
    (sim_.*layer.setShown)(show);
    if (!show && !layer.otherShown)
        (this->*layer.toggleOther)();
    if (display_.isVisible())
        display_.raise();
    if (!world_.running)
        redrawWorld();
}

void ViewOperations::toggleEnvironment() {
    toggleLayer({world_.showEnvironment, &Simulation::setEnvironmentShown, world_.showOrganisms,
                 &MainWindow::showEnvironmentShown, &ViewOperations::toggleOrganisms});
}

void ViewOperations::toggleOrganisms() {
    toggleLayer({world_.showOrganisms, &Simulation::setOrganismsShown, world_.showEnvironment,
                 &MainWindow::showOrganismsShown, &ViewOperations::toggleEnvironment});
}

void ViewOperations::sizechange(int value) {
    if (value == 1 && world_.showEnvironment && world_.showOrganisms)
        toggleEnvironment(); // at one pixel the corner mark cannot be seen
    squareSizeChanged();
}

void ViewOperations::slowdownChanged(int value) {
    options_.slowdown = value;
    applySlowdown();
}

void ViewOperations::stepSquareSize(int delta) {
    const int value = main_.squareSizeSetting() + delta;
    if (value < 1 || value > 8)
        return;
    main_.setSquareSizeSetting(value);
    squareSizeChanged();
}

void ViewOperations::startOrStop() {
    if (world_.phase != Phase::Create)
        sim_.startStop();
}

void ViewOperations::stepGeneration() {
    sim_.stepGeneration();
}

void ViewOperations::openStatistics() {
    if (showStatistics_)
        showStatistics_();
}

void ViewOperations::openHelpContents() {
    if (showHelpContents_)
        showHelpContents_();
}

void ViewOperations::keyPressed(std::string_view keyName) {
    const CanvasKey* key = canvasKeyOf(keyName);
    const InFullScreen rule = key ? key->inFullScreen : InFullScreen::OnlyLeaves;
    if (world_.fullScreen && rule != InFullScreen::Acts) {
        toggleFullScreen();
        if (rule == InFullScreen::OnlyLeaves || world_.fullScreen)
            return;
    }
    if (key)
        (this->*key->command)();
}

void ViewOperations::mousePressed() {
    if (world_.fullScreen)
        toggleFullScreen();
}

void ViewOperations::mouseMoved(double x, double y) {
    sim_.pointerMoved(roundToInt(x), roundToInt(y));
}

void ViewOperations::closeRequested() {
    toggleSimulationShown();
}

} // namespace bx
