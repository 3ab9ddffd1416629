#pragma once
// The options window: a working copy of the options record in five pages of controls, with the
// buttons and menus that accept, cancel, reset to defaults, load and save. The form validates
// its boxes and runs its controls' handlers; what its commands do is connected by the simulator
// application.
#include <QDialog>
#include <array>
#include <functional>
#include <map>

#include "colourschemes.h"
#include "commandsenders.h"
#include "engine/options.h"
#include "numberfield.h"
#include "optionstabs/environmenttab.h"
#include "optionstabs/generaltab.h"
#include "optionstabs/organismstab.h"
#include "optionstabs/screensavertab.h"
#include "optionstabs/specialtab.h"
#include "platform/colourpicker.h"
#include "platform/screen.h"
#include "profilemenu.h"
#include "viewoperations.h"

class QAction;
class QMenu;
class QMenuBar;
class QPushButton;
class QTabWidget;

namespace bx {

class OptionsWindow : public QDialog, public OptionsWindowLink {
    Q_OBJECT
public:
    OptionsWindow(SimulationOptions& options, const ScreenMetrics& screen, ColourPicker& picker);

    // Shows profile captions on the Profiles menu's quick entries (see showQuickProfiles).
    void setProfileNames(const QStringList& captions);

    // What the window's buttons and menu entries ask for; several controls may give one command.
    // Cancel is also given by the close box and Escape (the window stays in existence, hidden).
    enum class Command {
        LoadProfile,
        SaveProfile,
        Defaults,
        Ok,
        Accept,
        Cancel,
        HelpWindow,
        HelpContents,
        HelpSearch
    };
    // Runs `action` whenever one of the command's controls is used.
    void onCommand(Command command, const std::function<void()>& action);

    // The page the screensaver code shows its state on.
    ScreensaverTab& screensaverPage() { return *screensaver; }

    // OptionsWindowLink: the record into the controls; the grid sliders' range; the Save
    // button and item locked while a world is being created.
    void showOptionsInWindow() override;
    void setGridSliderMaxima(int maxX, int maxY) override;
    void setCreationCommandsEnabled(bool enabled) override;
    // The controls into the record.
    void takeOptionsFromWindow();

    // Shows the page of the selected tab (1 .. 5); the Screensaver page refreshes its status.
    void refreshtab();
    // Selects tab i (1 .. 5) and shows its page.
    void selectTab(int i);

    void setScreensaverActions(ScreensaverPageActions& actions) { screensaverActions_ = &actions; }
    ScreensaverPageActions& screensaverActions() { return *screensaverActions_; }

signals:
    // The close box or Escape: the window is to be cancelled.
    void cancelRequested();
    // A quick profile entry, by the number in its name (2 .. 8).
    void quickProfileChosen(int index);

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    // The pages in tab order, and the tab strip.
    QTabWidget* tabs;
    GeneralTab* general;
    OrganismsTab* organisms;
    EnvironmentTab* environment;
    SpecialTab* special;
    ScreensaverTab* screensaver;

    // Buttons below the pages.
    QPushButton *loadButton, *saveButton, *defaultsButton, *okButton, *cancelButton; // Load, Save, ...

    // Menus and their entries.
    QMenuBar* menuBar;
    QMenu *optionsMenu, *modifyMenu, *profilesMenu;
    QAction *helpWindowItem, *helpContentsItem, *helpSearchItem;
    std::array<QAction*, 5> pageItems{}; // General, Organisms, Environment, Special, Screensaver
    QAction *acceptItem, *cancelItem, *resetToDefaultsItem;
    QAction *loadItem, *saveItem, *defaultsItem, *moreProfilesSeparator, *moreProfilesItem;
    QuickProfileItems profileItems{};

    std::map<Command, CommandSenders> commands_;

    void listCommands();
    void showPlainControls();
    void takePlainControls();
    QCheckBox* checkBoxOf(const OptionField& option) const;
    NumberField* numberFieldOf(const OptionField& option) const;
    void showGridSize();
    void showStoredSwatches();
    void buildButtons(QLayout* layout);
    void buildMenus();
    void fullOrganismsClicked(bool checked);
    void environmentStartClicked(int mode);
    void checkEnvironmentStart(int mode);
    void setText(NumberField* field, int value);

    SimulationOptions& options_;
    const ScreenMetrics& screen_;
    ScreensaverPageActions noScreensaverActions_;
    ScreensaverPageActions* screensaverActions_ = &noScreensaverActions_;
};

} // namespace bx
