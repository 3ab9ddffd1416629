#include "platform/folders.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

namespace bx {

std::string programFolder() {
    return QCoreApplication::applicationDirPath().toStdString();
}

std::string userDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).toStdString() + "/bramblex";
}

std::string profileHome(const std::string& programFolder, const std::string& userFolder) {
    const QFileInfo folder(QString::fromStdString(programFolder));
    return folder.isDir() && folder.isWritable() ? programFolder : userFolder;
}

} // namespace bx
