#include "xdgsystemfolders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include "folders.h"

namespace bx {

XdgSystemFolders::XdgSystemFolders() : root_(userDataFolder()) {}

XdgSystemFolders::XdgSystemFolders(std::string dataFolder) : root_(std::move(dataFolder) + "/bramblex") {}

std::string XdgSystemFolders::windowsDirectory() {
    makeFolders();
    return root_ + "/windows";
}

std::string XdgSystemFolders::systemDirectory() {
    makeFolders();
    return root_ + "/windows/system";
}

void XdgSystemFolders::makeFolders() {
    const QString windows = QString::fromStdString(root_ + "/windows");
    const bool fresh = !QFileInfo::exists(windows);
    QDir().mkpath(windows + "/system");
    if (!fresh)
        return;
    QFile ini(windows + "/system.ini");
    if (ini.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        ini.write("[boot]\r\n");
}

} // namespace bx
