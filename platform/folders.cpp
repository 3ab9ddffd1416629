#include "platform/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace bx {
namespace {

std::string existingOrHome(QStandardPaths::StandardLocation location) {
    const QString folder = QStandardPaths::writableLocation(location);
    return (!folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath()).toStdString();
}

} // namespace

std::string programFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

std::string userDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/bramblex";
}

std::string profileHome(const std::string& programFolder, const std::string& userFolder) {
    const QFileInfo folder(QString::fromStdString(programFolder));
    // The install rules put the programs into <prefix>/lib/bramblex2. Such a copy keeps profiles per
    // user even where the user may write it (root, a prefix of one's own): removing the copy, or the
    // package, then never takes profiles with it.
    const bool installed = folder.fileName() == "bramblex2" && QFileInfo(folder.path()).fileName() == "lib";
    return folder.isDir() && folder.isWritable() && !installed ? programFolder : userFolder;
}

std::string picturesFolder() {
    return existingOrHome(QStandardPaths::PicturesLocation);
}

std::string documentsFolder() {
    return existingOrHome(QStandardPaths::DocumentsLocation);
}

} // namespace bx
