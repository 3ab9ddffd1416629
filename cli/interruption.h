#pragma once
// Ctrl+C, SIGTERM and SIGHUP during a run. The first asks the run to stop at the end of the
// current generation, so that its outputs can still be written whole; a second ends the program
// at once, after removing the run's temporary files. SIGPIPE, an output whose reader has quit,
// stops the run the same way; as every later write into that pipe raises it again, it never
// counts as a second signal. A write that fails as SIGPIPE's would (EPIPE, the signal ignored)
// stops the run as SIGPIPE does.
#include <string>

#include "options/atomicfile.h"

namespace bx::cli {

class Interruption {
public:
    // Installs the handlers (a signal the caller ignores stays ignored); one instance at a time.
    Interruption();
    // Puts the previous handlers back.
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    // The signal that asked the run to stop, or 0.
    int signal() const;
    // Whether that signal was SIGPIPE: an output's reader has gone.
    bool readerGone() const;
    // A write found an output's reader gone (EPIPE): the run stops as SIGPIPE stops it.
    void outputClosed();
    // The temporary file of an open output, which a second signal removes (a few at most; it is
    // removed by its folder and name, so a path of any length is). Forgotten again with keep(),
    // before the file is destroyed.
    void removeOnAbort(const AtomicFile& file);
    void keep(const AtomicFile& file);
};

// The exit status of a run that lost an output's reader, as if SIGPIPE had ended it.
int readerGoneStatus();

// "SIGINT", "SIGTERM", "SIGHUP", "SIGPIPE".
std::string signalName(int signal);

} // namespace bx::cli
