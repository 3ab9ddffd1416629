#include "commandsenders.h"

#include <QAbstractButton>
#include <QAction>

namespace bx {

void CommandSenders::connect(QObject* context, const std::function<void()>& action) const {
    for (QAbstractButton* b : buttons)
        QObject::connect(b, &QAbstractButton::clicked, context, [action] { action(); });
    for (QAction* a : entries)
        QObject::connect(a, &QAction::triggered, context, [action] { action(); });
}

} // namespace bx
