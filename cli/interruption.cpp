#include "interruption.h"

#include <limits.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstring>

namespace bx::cli {
namespace {

constexpr std::array<int, 4> stopSignals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// What the handler may touch: plain memory, written only while the signals are blocked.
struct AbortState {
    volatile std::sig_atomic_t pending = 0;
    std::array<int, 4> folders{};
    std::array<std::array<char, NAME_MAX + 1>, 4> names{};
    std::array<volatile std::sig_atomic_t, 4> used{};
    std::array<struct sigaction, stopSignals.size()> previous{};
};
AbortState state;

void onSignal(int signal) {
    if (state.pending == 0 || signal == SIGPIPE) {
        if (state.pending == 0)
            state.pending = signal;
        return;
    }
    for (std::size_t i = 0; i < state.names.size(); ++i)
        if (state.used[i])
            ::unlinkat(state.folders[i], state.names[i].data(), 0);
    ::_exit(128 + signal);
}

// Blocks the stop signals while the list of temporary files changes.
class Blocked {
public:
    Blocked() {
        sigset_t set;
        sigemptyset(&set);
        for (int s : stopSignals)
            sigaddset(&set, s);
        ::sigprocmask(SIG_BLOCK, &set, &old_);
    }
    ~Blocked() { ::sigprocmask(SIG_SETMASK, &old_, nullptr); }

private:
    sigset_t old_{};
};

} // namespace

Interruption::Interruption() {
    state.pending = 0;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < stopSignals.size(); ++i) {
        ::sigaction(stopSignals[i], nullptr, &state.previous[i]);
        // A signal the caller ignores stays ignored (nohup, a shell's background job).
        if (state.previous[i].sa_handler != SIG_IGN)
            ::sigaction(stopSignals[i], &action, nullptr);
    }
}

Interruption::~Interruption() {
    for (std::size_t i = 0; i < stopSignals.size(); ++i)
        ::sigaction(stopSignals[i], &state.previous[i], nullptr);
    const Blocked quiet;
    for (auto& used : state.used)
        used = 0;
}

int Interruption::signal() const {
    return state.pending;
}

bool Interruption::readerGone() const {
    return state.pending == SIGPIPE;
}

int readerGoneStatus() {
    return 128 + SIGPIPE;
}

void Interruption::outputClosed() {
    const Blocked quiet;
    if (state.pending == 0)
        state.pending = SIGPIPE;
}

void Interruption::removeOnAbort(const AtomicFile& file) {
    const std::string& name = file.temporaryName();
    if (name.empty() || name.size() >= state.names[0].size())
        return; // the writer's temporary names are never longer than NAME_MAX
    const Blocked quiet;
    for (std::size_t i = 0; i < state.names.size(); ++i)
        if (!state.used[i]) {
            state.folders[i] = file.temporaryFolder();
            std::memcpy(state.names[i].data(), name.c_str(), name.size() + 1);
            state.used[i] = 1;
            return;
        }
}

void Interruption::keep(const AtomicFile& file) {
    const Blocked quiet;
    for (std::size_t i = 0; i < state.names.size(); ++i)
        if (state.used[i] && state.folders[i] == file.temporaryFolder() &&
            file.temporaryName() == state.names[i].data())
            state.used[i] = 0;
}

std::string signalName(int signal) {
    switch (signal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    case SIGPIPE:
        return "SIGPIPE";
    default:
        return "signal " + std::to_string(signal);
    }
}

} // namespace bx::cli
