#pragma once
// The per-user settings store both programs share: a value is found by application, section and
// key. The store never reports failures: an unreadable file reads as no value. The programs pass
// the real store (platform/inisettingsstore.h); tests a store in memory.
#include <optional>
#include <string>

namespace bx {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> get(const std::string& application, const std::string& section,
                                           const std::string& key) const = 0;
    virtual void set(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

} // namespace bx
