#include "optionscommands.h"

#include "optionswindow.h"
#include "viewoperations.h"

namespace bx {

OptionsCommands::OptionsCommands(OptionsWindow& window, Simulation& sim, ViewOperations& view,
                                 MessageService& messages, HelpService& help)
    : window_(window), sim_(sim), view_(view), messages_(messages), help_(help) {}

void OptionsCommands::openOptionsWindow() {
    if (!hold_)
        hold_.emplace(sim_); // ticks do nothing while the window is open
    window_.show();
    window_.raise();
    window_.activateWindow();
}

void OptionsCommands::closeOptionsWindow() {
    hold_.reset();
    window_.hide();
}

void OptionsCommands::runWithLivePhase(const std::function<bool()>& command) {
    if (hold_)
        hold_->runLive(command);
    else
        command();
}

bool OptionsCommands::confirm(const char* firstLine, bool wanted) {
    if (!wanted)
        return true;
    const Question q{"Reset simulation?",       std::string(firstLine) + "\rAre you sure?",
                     MessageIcon::Exclamation,  DefaultButton::No,
                     help::acceptOrSaveOptions, sim_.options().helpFilePath};
    return messages_.ask(q) == Answer::Yes;
}

void OptionsCommands::stopIfRunning() {
    if (sim_.world().running)
        runWithLivePhase([this] {
            sim_.startStop();
            return false;
        });
}

void OptionsCommands::okClicked() {
    window_.screensaverActions().sssave();
    acceptOptions();
}

void OptionsCommands::acceptOptions() {
    if (!confirm("This will use the current options and reset the simulation.",
                 sim_.options().promptOnAccept))
        return;
    closeOptionsWindow();
    window_.takeOptionsFromWindow();
    sim_.reset();
}

void OptionsCommands::cancelOptions() {
    closeOptionsWindow();
    window_.showOptionsInWindow();
}

void OptionsCommands::saveAndUseOptions() {
    if (!takeOptionsToSave())
        return;
    sim_.resetAndSave(); // creation ends with the save dialog
}

void OptionsCommands::saveOptionsFromMain() {
    if (takeOptionsToSave())
        saveProfile_();
}

bool OptionsCommands::takeOptionsToSave() {
    stopIfRunning();
    if (!confirm("This will save and use the current options and reset the simulation.",
                 sim_.options().promptOnSave))
        return false;
    closeOptionsWindow();
    window_.takeOptionsFromWindow();
    return true;
}

void OptionsCommands::resetOptionsToDefaults() {
    SimulationOptions& options = sim_.options();
    if (options.promptOnDefaults) {
        const Question q{
            "Reset options to defaults?",
            "This will reset all options to the default values.\rYour simulation will be reset.\r"
            "Are you sure?",
            MessageIcon::Exclamation,
            DefaultButton::No,
            help::resetToDefaults,
            options.helpFilePath};
        if (messages_.ask(q) != Answer::Yes)
            return;
    }
    runWithLivePhase([this, &options] {
        const WorldState& world = sim_.world();
        // The defaults show everything and stop the run: bring the panel's captions and the
        // canvas along first, so they do not claim the opposite.
        if (world.running)
            sim_.startStop();
        if (world.fullScreen)
            view_.toggleFullScreen();
        if (!world.simulationShown)
            view_.toggleSimulationShown();
        if (!world.showOrganisms)
            view_.toggleOrganisms();
        if (!world.showEnvironment)
            view_.toggleEnvironment();
        sim_.restoreDefaults(options.helpFilePath);
        window_.showOptionsInWindow();
        sim_.reset(); // while the window is open the new world is built behind it
        return true;
    });
}

void OptionsCommands::helpWindow() {
    help_.showHelp(sim_.options().helpFilePath, helpCommand_, 0);
}

void OptionsCommands::helpContents() {
    helpCommand_ = HelpContents;
    helpWindow();
}

void OptionsCommands::helpSearch() {
    helpCommand_ = HelpSearch;
    helpWindow();
}

} // namespace bx
