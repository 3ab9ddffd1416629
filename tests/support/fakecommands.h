#pragma once
// A stand-in for the desktop's command-line tools: the programs it "has", and gsettings and
// xfconf-query answering from and writing into a table of settings, as the real ones print them.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "saverinstall/commandrunner.h"

namespace bx::test {

class FakeCommandRunner : public CommandRunner {
public:
    std::set<std::string> installed;                       // programs has() finds and run() runs
    std::map<std::string, std::string> settings;           // "schema key" → value, as `get` prints it
    std::map<std::string, std::vector<std::string>> lists; // xfconf arrays: "channel property" → values
    std::vector<std::vector<std::string>> calls;

    bool has(const std::string& program) const override { return installed.count(program) > 0; }

    std::optional<std::string> run(const std::vector<std::string>& a) override {
        calls.push_back(a);
        if (a.empty() || !installed.count(a[0]))
            return std::nullopt;
        if (a[0] == "gsettings" && a.size() >= 4) {
            const std::string key = a[2] + " " + a[3];
            if (a[1] == "get") {
                const auto it = settings.find(key);
                return it == settings.end() ? std::nullopt : std::optional<std::string>(it->second + "\n");
            }
            if (a[1] == "set" && a.size() == 5) {
                const bool word = a[4].find_first_of("'[@") == std::string::npos;
                settings[key] = word ? "'" + a[4] + "'" : a[4];
            } else if (a[1] == "reset") {
                settings.erase(key);
            }
            return "";
        }
        if (a[0] == "xfconf-query" && a.size() >= 5) {
            const std::string key = a[2] + " " + a[4];
            std::vector<std::string> values;
            bool array = false, reset = false;
            for (std::size_t i = 5; i < a.size(); ++i) {
                if (a[i] == "-s" && i + 1 < a.size())
                    values.push_back(a[++i]);
                array = array || a[i] == "-a";
                reset = reset || a[i] == "-r";
            }
            if (reset) {
                settings.erase(key);
                lists.erase(key);
            } else if (array) {
                lists[key] = values;
            } else if (!values.empty()) {
                settings[key] = values.front();
            } else if (lists.count(key)) {
                std::string text =
                    "Value is an array with " + std::to_string(lists[key].size()) + " items:\n\n";
                for (const std::string& v : lists[key])
                    text += v + "\n";
                return text;
            } else {
                const auto it = settings.find(key);
                return it == settings.end() ? std::nullopt : std::optional<std::string>(it->second + "\n");
            }
            return "";
        }
        return "";
    }
};

} // namespace bx::test
