#include "stopsignals.h"

#include <QSocketNotifier>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace bx {
namespace {

int pipeEnds[2] = {-1, -1}; // written by the handler, read by the event loop

void onSignal(int signal) {
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[0], &byte, 1);
}

constexpr int stopSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

StopSignals::StopSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        return;
    notifier_ = new QSocketNotifier(pipeEnds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (::read(pipeEnds[1], &byte, 1) == 1) {
            if (caught_ == 0)
                caught_ = byte;
            emit received(byte);
        }
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : stopSignals)
        ::sigaction(s, &action, nullptr);
}

StopSignals::~StopSignals() {
    for (int s : stopSignals)
        std::signal(s, SIG_DFL);
    for (int& end : pipeEnds)
        if (end >= 0) {
            ::close(end);
            end = -1;
        }
}

void dieBy(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    std::_Exit(128 + signal); // not reached for a signal whose default action ends the process
}

} // namespace bx
