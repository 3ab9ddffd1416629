#include "widgetparts.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

namespace bx {
namespace {

class LinkFilter : public QObject {
public:
    LinkFilter(QLabel* label, std::function<void()> open) : QObject(label), label_(label), open_(std::move(open)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != label_)
            return false;
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && label_->rect().contains(mouse->position().toPoint())) {
                open_();
                return true;
            }
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                open_();
                return true;
            }
        }
        return false;
    }

private:
    QLabel* label_;
    std::function<void()> open_;
};

} // namespace

QMenu* namedMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* m = bar->addMenu(caption);
    m->setObjectName(name);
    return m;
}

QAction* namedEntry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    a->setShortcut(keys);
    a->setShortcutContext(Qt::WindowShortcut);
    return a;
}

QAction* namedSeparator(QMenu* menu, const char* name) {
    QAction* a = menu->addSeparator();
    a->setObjectName(name);
    return a;
}

void makeLinkLabel(QLabel* label, std::function<void()> open) {
    label->installEventFilter(new LinkFilter(label, std::move(open)));
}

} // namespace bx
