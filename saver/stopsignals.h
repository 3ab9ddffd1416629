#pragma once
// SIGTERM, SIGINT and SIGHUP end the saver through the event loop, so that it can put the pointer
// back and close its windows: the handler writes the signal to a pipe that the loop watches.
// Then the program dies by that signal (dieBy), so that the host that sent it sees the end it
// expects: a hack killed by its SIGTERM, not one that exited by itself.
#include <QObject>

class QSocketNotifier;

namespace bx {

class StopSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one instance at a time.
    StopSignals();
    ~StopSignals() override;

    // The first signal received, 0 while none was.
    int caught() const { return caught_; }

signals:
    void received(int signal);

private:
    QSocketNotifier* notifier_ = nullptr;
    int caught_ = 0;
};

// Ends the process by `signal` with its default action, as if no handler had been installed.
[[noreturn]] void dieBy(int signal);

} // namespace bx
