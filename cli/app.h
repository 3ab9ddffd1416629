#pragma once
// The whole bramblex-run program behind main(), so that tests run the real thing.
#include <ostream>
#include <span>
#include <string>

namespace bx::cli {

struct Console {
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false; // the progress bar is shown only on a terminal
};

// Exit status: 0 done (or --help), 1 the run failed (e.g. an output file cannot be written),
// 2 the command line is wrong (one "bramblex-run: ..." line and a hint on err).
// programFolder is where the help file lives.
int runCommandLine(std::span<const std::string> args, const std::string& programFolder,
                   const Console& console);

} // namespace bx::cli
