#pragma once
// SIGTERM, SIGINT and SIGHUP end the saver through the event loop, so that it can put the pointer
// back and close its windows: the handler writes the signal to a pipe that the loop watches.
#include <QObject>

class QSocketNotifier;

namespace bx {

class StopSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one instance at a time.
    StopSignals();
    ~StopSignals() override;

signals:
    void received(int signal);

private:
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace bx
