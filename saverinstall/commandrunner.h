#pragma once
// Running the desktop's own command-line tools (gsettings, xscreensaver-command, xfconf-query)
// and finding out which are installed. The programs pass ProcessRunner; tests a runner that
// records the calls and answers from a table.
#include <optional>
#include <string>
#include <vector>

namespace bx {

class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Whether an executable of that name is in a folder of PATH.
    virtual bool has(const std::string& program) const = 0;
    // Runs program arguments[0] (looked up on PATH) and waits for it: its standard output when it
    // ended with status 0, nothing when it could not start or failed. Standard error is dropped.
    virtual std::optional<std::string> run(const std::vector<std::string>& arguments) = 0;
};

class ProcessRunner : public CommandRunner {
public:
    bool has(const std::string& program) const override;
    std::optional<std::string> run(const std::vector<std::string>& arguments) override;
};

} // namespace bx
