#include "optionswindow.h"
#include "platform/widgetparts.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

namespace bx {
namespace {

QPushButton* button(const char* name, const char* caption) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false); // Return in a number box must not press a button
    return b;
}

void setChecked(QAbstractButton* b, bool checked) {
    const QSignalBlocker quiet(b);
    b->setChecked(checked);
}

} // namespace

OptionsWindow::OptionsWindow(SimulationOptions& options, const ScreenMetrics& screen, ColourPicker& picker)
    : options_(options), screen_(screen) {
    setObjectName("optionswindow");
    setWindowModality(Qt::ApplicationModal);
    const ValidationContext context{options_, screen_, typedDecimalMark()};
    general = new GeneralTab(context);
    organisms = new OrganismsTab(context, picker);
    environment = new EnvironmentTab(context, picker);
    special = new SpecialTab(context);
    screensaver = new ScreensaverTab;

    tabs = new QTabWidget;
    tabs->setObjectName("TabStrip1");
    struct Tab {
        QWidget* page;
        const char* caption;
        const char* tooltip;
    };
    const Tab pages[] = {{general, "&General", "General program options"},
                         {organisms, "O&rganisms", "Organism options"},
                         {environment, "&Environment", "Environment options"},
                         {special, "Spec&ial", "Special program options"},
                         {screensaver, "Scree&nsaver", "Screensaver options"}};
    for (const Tab& t : pages) {
        const int index = tabs->addTab(t.page, t.caption);
        tabs->setTabToolTip(index, t.tooltip);
    }
    connect(tabs, &QTabWidget::currentChanged, this, &OptionsWindow::refreshtab);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // a form of fixed size: nothing to maximise
    buildMenus();
    layout->setMenuBar(menuBar);
    layout->addWidget(tabs);
    buildButtons(layout);
    listCommands();

    connect(organisms->fullOrganismsBox, &QCheckBox::toggled, this, &OptionsWindow::fullOrganismsClicked);
    int mode = StartRandom;
    for (QRadioButton* b : {environment->randomStart, environment->fullStart, environment->idealStart,
                            environment->noneStart}) {
        connect(b, &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on)
                environmentStartClicked(mode);
        });
        ++mode;
    }
    preferWindowShortcuts(this); // Ctrl+A accepts, Ctrl+C cancels, also from inside a number box
    refreshtab();
}

void OptionsWindow::buildButtons(QLayout* layout) {
    loadButton = button("Command2", "&Load");
    saveButton = button("Command1", "&Save");
    defaultsButton = button("defaultsbutton", "&Defaults");
    okButton = button("okbutton", "O&K");
    cancelButton = button("cancelbutton", "&Cancel");
    auto* row = new QHBoxLayout;
    row->addWidget(loadButton);
    row->addWidget(saveButton);
    row->addWidget(defaultsButton);
    row->addStretch(1);
    row->addWidget(okButton);
    row->addWidget(cancelButton);
    static_cast<QVBoxLayout*>(layout)->addLayout(row);
}

void OptionsWindow::buildMenus() {
    menuBar = new QMenuBar(this);
    menuBar->setObjectName("menubar");
    auto menu = [this](const char* name, const char* caption) { return namedMenu(menuBar, name, caption); };
    auto entry = [this](QMenu* m, const char* name, const char* caption, const QKeySequence& keys = {}) {
        QAction* a = namedEntry(m, name, caption, keys);
        addAction(a); // the window's own shortcut, whether or not the menu was ever opened
        return a;
    };
    optionsMenu = menu("optionsmenu", "&Options");
    helpWindowItem = entry(optionsMenu, "helpwindow", "Help - &Window", Qt::Key_F2);
    helpContentsItem = entry(optionsMenu, "helpcontents", "Help - &Contents", Qt::Key_F3);
    helpSearchItem = entry(optionsMenu, "helpsearch", "Help - &Search", Qt::Key_F4);
    optionsMenu->addSeparator()->setObjectName("sep1");
    pageItems = {entry(optionsMenu, "generalmenu", "&General", Qt::CTRL | Qt::Key_G),
                 entry(optionsMenu, "organismsmenu", "&Organisms", Qt::CTRL | Qt::Key_O),
                 entry(optionsMenu, "environmentmenu", "&Environment", Qt::CTRL | Qt::Key_E),
                 entry(optionsMenu, "specialmenu", "&Special", Qt::CTRL | Qt::Key_P),
                 entry(optionsMenu, "screensavermenu", "&Screensaver", Qt::CTRL | Qt::Key_S)};
    for (int i = 0; i < 5; ++i)
        connect(pageItems[i], &QAction::triggered, this, [this, i] { selectTab(i + 1); });

    modifyMenu = menu("modifymenu", "&Modify Options");
    acceptItem = entry(modifyMenu, "acceptmenu", "&Accept changes", Qt::CTRL | Qt::Key_A);
    cancelItem = entry(modifyMenu, "cancelmenu", "&Cancel changes", Qt::CTRL | Qt::Key_C);
    modifyMenu->addSeparator()->setObjectName("sep2");
    resetToDefaultsItem = entry(modifyMenu, "resetmenu", "&Reset to Defaults", Qt::CTRL | Qt::Key_D);

    profilesMenu = menu("profilesmenu", "&Profiles");
    loadItem = entry(profilesMenu, "loadmenu", "&Load", Qt::Key_F7);
    saveItem = entry(profilesMenu, "savemenu", "&Save", Qt::Key_F8);
    profilesMenu->addSeparator()->setObjectName("sep3");
    defaultsItem = entry(profilesMenu, "defaultmenu", "&Default", Qt::CTRL | Qt::Key_F1);
    profileItems = addQuickProfileItems(profilesMenu);
    for (int k = 0; k < quickProfileCount; ++k) {
        addAction(profileItems[k]);
        connect(profileItems[k], &QAction::triggered, this, [this, k] { emit quickProfileChosen(k + 2); });
    }
    moreProfilesSeparator = profilesMenu->addSeparator();
    moreProfilesSeparator->setObjectName("sep7");
    moreProfilesItem = entry(profilesMenu, "moreprof", "&More Profiles..");
    moreProfilesSeparator->setVisible(false);
    moreProfilesItem->setVisible(false);
}

void OptionsWindow::listCommands() {
    commands_ = {
        {Command::LoadProfile, {{loadButton}, {loadItem, moreProfilesItem}}},
        {Command::SaveProfile, {{saveButton}, {saveItem}}},
        {Command::Defaults, {{defaultsButton}, {resetToDefaultsItem, defaultsItem}}},
        {Command::Ok, {{okButton}, {}}},
        {Command::Accept, {{}, {acceptItem}}},
        {Command::Cancel, {{cancelButton}, {cancelItem}}},
        {Command::HelpWindow, {{}, {helpWindowItem}}},
        {Command::HelpContents, {{}, {helpContentsItem}}},
        {Command::HelpSearch, {{}, {helpSearchItem}}},
    };
}

void OptionsWindow::onCommand(Command command, const std::function<void()>& action) {
    commands_.at(command).connect(this, action);
    if (command == Command::Cancel)
        connect(this, &OptionsWindow::cancelRequested, this, [action] { action(); });
}

void OptionsWindow::refreshtab() {
    const int i = tabs->currentIndex() + 1;
    // The tab strip brings the selected page to the front and hides the others itself.
    if (i == 5)
        screensaverActions_->ssrefresh();
}

void OptionsWindow::selectTab(int i) {
    if (tabs->currentIndex() == i - 1)
        refreshtab(); // no change of tab, so no signal: the page is refreshed all the same
    else
        tabs->setCurrentIndex(i - 1);
}

void OptionsWindow::setText(NumberField* field, int value) {
    field->setText(QString::number(value));
}

void OptionsWindow::fullOrganismsClicked(bool checked) {
    NumberField* start = organisms->startOrganisms;
    start->box()->setEnabled(!checked);
    start->slider()->setEnabled(!checked);
    if (checked) {
        start->setSliderValue(start->slider()->maximum());
        start->setText("Full");
    } else {
        start->setSliderValue(options_.startOrganisms);
        setText(start, options_.startOrganisms);
    }
}

void OptionsWindow::environmentStartClicked(int mode) {
    NumberField* start = environment->startEnvironments;
    const bool random = mode == StartRandom;
    start->box()->setEnabled(random);
    start->slider()->setEnabled(random);
    if (random) {
        start->setSliderValue(options_.startEnvironments);
        setText(start, options_.startEnvironments);
    } else {
        start->setSliderValue(mode == StartNone ? start->slider()->minimum() : start->slider()->maximum());
        start->setText(mode == StartNone ? "0" : "Full");
    }
    // Ideal makes every environment white and None makes none: no scheme applies.
    environment->colours->setSchemeEnabled(mode == StartRandom || mode == StartFull);
}

void OptionsWindow::checkEnvironmentStart(int mode) {
    QRadioButton* buttons[] = {environment->randomStart, environment->fullStart, environment->idealStart,
                               environment->noneStart};
    if (mode < StartRandom || mode > StartNone)
        return;
    setChecked(buttons[mode - 1], true);
    environmentStartClicked(mode);
}

void OptionsWindow::showOptionsInWindow() {
    const SimulationOptions& o = options_;
    NumberField* startOrg = organisms->startOrganisms;
    NumberField* startEnv = environment->startEnvironments;
    startOrg->setSliderValue(o.startOrganisms);
    setText(startOrg, o.startOrganisms);
    startEnv->setSliderValue(o.startEnvironments);
    setText(startEnv, o.startEnvironments);

    organisms->colours->showScheme(o.organismColourMode);
    environment->colours->showScheme(o.environmentColourMode);

    showPlainControls();
    fullOrganismsClicked(o.fullOrganisms);
    checkEnvironmentStart(o.environmentStartMode);
    showGridSize();
    showStoredSwatches();
}

// The check boxes and the plain number boxes show their options as they stand; the option
// table names each one's control.
void OptionsWindow::showPlainControls() {
    for (const OptionField& f : optionFields())
        if (f.control.kind == ControlKind::CheckBox)
            setChecked(checkBoxOf(f), options_.*f.flag);
    // The check boxes were set quietly, so the frequency boxes follow them here, before their
    // text: a disabled box keeps its text as given.
    special->enableFrequencies();
    for (const OptionField& f : optionFields()) {
        if (f.control.kind == ControlKind::NumberBox) {
            NumberField* field = numberFieldOf(f);
            field->setSliderValue(options_.*f.integer);
            setText(field, options_.*f.integer);
        }
    }
}

void OptionsWindow::takePlainControls() {
    for (const OptionField& f : optionFields()) {
        if (f.control.kind == ControlKind::CheckBox)
            options_.*f.flag = checkBoxOf(f)->isChecked();
        else if (f.control.kind == ControlKind::NumberBox) // the text decides: "2.5" gives 2
            options_.*f.integer =
                textToInteger(numberFieldOf(f)->box()->text().toStdString(), typedDecimalMark());
    }
}

QCheckBox* OptionsWindow::checkBoxOf(const OptionField& option) const {
    const std::string_view name = option.control.objectName;
    return findChild<QCheckBox*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
}

NumberField* OptionsWindow::numberFieldOf(const OptionField& option) const {
    const std::string_view name = option.control.objectName;
    const QString boxName = QString::fromUtf8(name.data(), qsizetype(name.size()));
    for (NumberField* field : findChildren<NumberField*>())
        if (field->box()->objectName() == boxName)
            return field;
    return nullptr;
}

void OptionsWindow::showGridSize() {
    const SimulationOptions& o = options_;
    general->gridSizeX->setSliderValue(o.gridSizeX);
    general->gridSizeY->setSliderValue(o.gridSizeY);
    general->gridSizeX->sliderMoved(general->gridSizeX->slider()->value());
    general->gridSizeY->sliderMoved(general->gridSizeY->slider()->value());

    // Minus 50 across and plus 50 down, as the layout code sizes the grid sliders.
    general->screenWidthBox->setText(QString::number(screen_.widthPixels() - 50));
    general->screenHeightBox->setText(QString::number(screen_.heightPixels() + 50));
}

// After the schemes: selecting Choose painted the starting colours; the stored ones go back.
void OptionsWindow::showStoredSwatches() {
    organisms->colours->showStoredSwatches(options_.orgUserColour);
    environment->colours->showStoredSwatches(options_.envUserColour);
}

void OptionsWindow::takeOptionsFromWindow() {
    SimulationOptions& o = options_;
    takePlainControls();
    if (!o.fullOrganisms)
        o.startOrganisms = organisms->startOrganisms->slider()->value();
    if (const int mode = organisms->colours->selectedScheme())
        o.organismColourMode = mode;
    if (const int mode = environment->colours->selectedScheme())
        o.environmentColourMode = mode;

    const EnvironmentTab& e = *environment;
    if (e.randomStart->isChecked()) {
        o.environmentStartMode = StartRandom;
        o.startEnvironments = e.startEnvironments->slider()->value();
    } else if (e.fullStart->isChecked()) {
        o.environmentStartMode = StartFull;
    } else if (e.idealStart->isChecked()) {
        o.environmentStartMode = StartIdeal;
    } else if (e.noneStart->isChecked()) {
        o.environmentStartMode = StartNone;
    }

    o.gridSizeX = general->gridSizeX->slider()->value();
    o.gridSizeY = general->gridSizeY->slider()->value();
    o.orgUserColour = organisms->colours->swatchColours();
    o.envUserColour = environment->colours->swatchColours();
}

void OptionsWindow::setGridSliderMaxima(int maxX, int maxY) {
    general->gridSizeX->slider()->setMaximum(maxX);
    general->gridSizeY->slider()->setMaximum(maxY);
}

void OptionsWindow::setCreationCommandsEnabled(bool enabled) {
    saveButton->setEnabled(enabled);
    saveItem->setEnabled(enabled);
}

void OptionsWindow::closeEvent(QCloseEvent* e) {
    e->ignore(); // the cancel flow hides the window; it stays in existence
    emit cancelRequested();
}

void OptionsWindow::reject() {
    emit cancelRequested();
}

void OptionsWindow::setProfileNames(const QStringList& captions) {
    showQuickProfiles(profileItems, moreProfilesSeparator, moreProfilesItem, captions);
}

} // namespace bx
