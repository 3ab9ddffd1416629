#pragma once
// Driving the real modal message boxes: `act` runs on the box as soon as it is the active modal
// widget, inside the box's own event loop.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <functional>

namespace bx::test {

inline void whenBoxShown(std::function<void(QMessageBox&)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        act(*box);
    });
    poll->start();
}

} // namespace bx::test
