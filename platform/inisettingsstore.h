#pragma once
// The per-user settings store over INI files (QSettings).
#include <optional>
#include <string>

#include "saverinstall/settingsstore.h"

namespace bx {

// One INI file per application under the user's configuration folder (XDG_CONFIG_HOME, else
// ~/.config): "<config>/bramblex/<application>.ini", a [section] per section.
class IniSettingsStore : public SettingsStore {
public:
    IniSettingsStore();                            // the user's configuration folder
    explicit IniSettingsStore(std::string folder); // another folder (tests)
    std::optional<std::string> get(const std::string& application, const std::string& section,
                                   const std::string& key) const override;
    void set(const std::string& application, const std::string& section, const std::string& key,
             const std::string& value) override;
    // The file that holds an application's settings.
    std::string filePath(const std::string& application) const;

private:
    std::string folder_;
};

} // namespace bx
