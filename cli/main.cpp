#include <unistd.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/app.h"

namespace {

// The folder of the running program (where its help file lives), falling back to argv[0]'s.
std::string programFolder(const char* argv0) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return self.parent_path().string();
    const std::filesystem::path folder = std::filesystem::path(argv0 ? argv0 : "").parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const bx::cli::Console console{std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
    return bx::cli::runCommandLine(args, programFolder(argc > 0 ? argv[0] : nullptr), console);
}
