#include "profilecommands.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QString>

#include "mainwindow.h"
#include "options/profilefile.h"
#include "options/profileload.h"
#include "optionswindow.h"
#include "savefile.h"

namespace bx {
namespace {

const char* const lineBreak = "\r";

} // namespace

QString profileCaption(const QString& fileName) {
    QString caption = fileName.left(fileName.size() - 4); // without ".bx2"
    return caption.replace("&", "&&");
}

QString profileNameOfCaption(const QString& caption) {
    return QString(caption).replace("&&", "&");
}

ProfileCommands::ProfileCommands(Simulation& sim, MainWindow& main, OptionsWindow& optionsWindow,
                                 OptionsSession& session, FileDialogs& dialogs, MessageService& messages,
                                 std::string programFolder)
    : sim_(sim), main_(main), optionsWindow_(optionsWindow), session_(session), dialogs_(dialogs),
      messages_(messages), programFolder_(std::move(programFolder)) {}

void ProfileCommands::refreshProfileMenus() {
    const QString folder = QString::fromStdString(profileFolder());
    QDir().mkpath(folder);
    // The file list's order: by name, ignoring case.
    const QStringList files =
        QDir(folder).entryList({"*.bx2"}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    main_.setProfileFiles(files);

    quickCaptions_.clear();
    for (qsizetype k = 0; k < std::min<qsizetype>(quickProfileCount + 1, files.size()); ++k)
        quickCaptions_ << profileCaption(files[k]);
    main_.setProfileNames(quickCaptions_);
    optionsWindow_.setProfileNames(quickCaptions_);
}

void ProfileCommands::stopIfRunning() {
    if (sim_.world().running)
        session_.runWithLivePhase([this] {
            sim_.startStop();
            return false;
        });
}

FileDialogRequest ProfileCommands::dialogRequest(const char* title) const {
    return {title, profileFolder(), {{"All Files (*.*)", "*.*"}, {"Simulation Files (*.bx2)", "*.bx2"}}, 2};
}

void ProfileCommands::loadProfile() {
    stopIfRunning();
    const SimulationOptions& o = sim_.options();
    const Question q{"Reset Simulation?",
                     std::string("This will load a saved profile.") + lineBreak + "All data will be reset." +
                         lineBreak + "Are you sure?",
                     MessageIcon::Exclamation,
                     DefaultButton::No,
                     help::loadProfile,
                     o.helpFilePath};
    if (!o.promptOnReset || messages_.ask(q) == Answer::Yes) {
        const std::optional<std::string> path = dialogs_.openFile(dialogRequest("Load Profile:"));
        if (!path)
            return; // cancelled: nothing read, nothing shown
        readFrom(*path);
    }
    showLoadedOptions();
}

void ProfileCommands::loadProfileFrom(const std::string& path) {
    stopIfRunning();
    readFrom(path);
    showLoadedOptions();
}

void ProfileCommands::showLoadedOptions() {
    if (!session_.isOptionsWindowOpen())
        optionsWindow_.showOptionsInWindow();
}

void ProfileCommands::readFrom(const std::string& path) {
    std::string error;
    ProfileLoad result = ProfileLoad::Failed;
    session_.runWithLivePhase([&] {
        result = readProfile(path, sim_, error);
        return result == ProfileLoad::Loaded;
    });
    if (result == ProfileLoad::Loaded)
        loaded_();
    if (result != ProfileLoad::Failed)
        return;
    // Nothing was changed; the file may have gone since the menus were made, so they are redone.
    messages_.inform({"Profile not loaded",
                      "The profile could not be loaded." + std::string(lineBreak) + error,
                      MessageIcon::Exclamation, help::loadProfile, sim_.options().helpFilePath});
    refreshProfileMenus();
}

void ProfileCommands::loadQuickProfile(int index) {
    if (index < 2 || index > quickProfileCount + 1 || index - 2 >= quickCaptions_.size())
        return;
    const std::string name = profileNameOfCaption(quickCaptions_[index - 2]).toStdString();
    const SimulationOptions& o = sim_.options();
    if (o.promptOnReset) {
        const Question q{"Reset Simulation?",
                         "This will load the profile " + name + "." + lineBreak + "All data will be reset." +
                             lineBreak + "Are you sure?",
                         MessageIcon::Exclamation,
                         DefaultButton::No,
                         help::loadProfile,
                         o.helpFilePath};
        if (messages_.ask(q) != Answer::Yes)
            return;
    }
    stopIfRunning();
    loadProfileFrom(profileFolder() + "/" + name + ".bx2");
}

void ProfileCommands::saveProfileAs() {
    stopIfRunning();
    const std::optional<std::string> path = dialogs_.saveFile(dialogRequest("Save Profile:"));
    if (!path)
        return;
    if (QFileInfo::exists(QString::fromStdString(*path))) {
        switch (askToOverwrite(dialogs_)) {
        case OverwriteAnswer::Yes:
            break;
        case OverwriteAnswer::No:
            saveProfileAs();
            return finishSave();
        case OverwriteAnswer::Cancel:
            return;
        }
    }
    bool partWritten = false;
    const std::string error = writeProfile(*path, sim_.options(), sim_.world(), &partWritten);
    if (!error.empty())
        messages_.inform(
            {"Profile not saved",
             std::string(partWritten ? "The profile could not be saved whole; part of it may have "
                                       "been written into the pipe or device of that name."
                                     : "The profile could not be saved; any file of that name is "
                                       "as it was.") +
                 lineBreak + error,
             MessageIcon::Exclamation, 0, ""});
    finishSave();
}

void ProfileCommands::finishSave() {
    refreshProfileMenus();
    if (!session_.isOptionsWindowOpen())
        sim_.refresh();
}

} // namespace bx
