#include "inisettingsstore.h"

#include <QSettings>
#include <QStandardPaths>

namespace bx {
namespace {

// QSettings keeps its own top-level keys in an INI section named [General] and escapes a group
// of that name, so the section "General" is written as top-level keys: the file then reads
// [General] as any other INI reader expects.
QString keyPath(const std::string& section, const std::string& key) {
    const QString k = QString::fromStdString(key);
    if (section == "General" || section.empty())
        return k;
    return QString::fromStdString(section) + QLatin1Char('/') + k;
}

} // namespace

IniSettingsStore::IniSettingsStore()
    : folder_(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() +
              "/bramblex") {}

IniSettingsStore::IniSettingsStore(std::string folder) : folder_(std::move(folder)) {}

std::string IniSettingsStore::filePath(const std::string& application) const {
    return folder_ + "/" + application + ".ini";
}

std::optional<std::string> IniSettingsStore::get(const std::string& application, const std::string& section,
                                                 const std::string& key) const {
    const QSettings ini(QString::fromStdString(filePath(application)), QSettings::IniFormat);
    const QVariant value = ini.value(keyPath(section, key));
    if (!value.isValid())
        return std::nullopt;
    // A hand-edited value with commas reads as a list; it is still one text to the programs.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

void IniSettingsStore::set(const std::string& application, const std::string& section, const std::string& key,
                           const std::string& value) {
    QSettings ini(QString::fromStdString(filePath(application)), QSettings::IniFormat);
    ini.setValue(keyPath(section, key), QString::fromStdString(value));
    ini.sync();
}

} // namespace bx
