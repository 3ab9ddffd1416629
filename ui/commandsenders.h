#pragma once
// The buttons and menu entries that give one command of a form, so that whoever carries the
// command out connects it once, whichever control the user takes.
#include <QObject>
#include <functional>
#include <vector>

class QAbstractButton;
class QAction;

namespace bx {

struct CommandSenders {
    std::vector<QAbstractButton*> buttons;
    std::vector<QAction*> entries;

    // Runs `action` whenever one of them is clicked or triggered, while `context` exists.
    void connect(QObject* context, const std::function<void()>& action) const;
};

} // namespace bx
