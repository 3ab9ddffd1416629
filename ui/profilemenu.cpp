#include "profilemenu.h"

#include <QAction>
#include <QMenu>

#include "platform/widgetparts.h"

namespace bx {

QuickProfileItems addQuickProfileItems(QMenu* menu) {
    static const Qt::Key keys[quickProfileCount] = {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5,
                                                    Qt::Key_F6, Qt::Key_F7, Qt::Key_F8};
    QuickProfileItems items{};
    for (int i = 0; i < quickProfileCount; ++i) {
        const QByteArray name = "profile" + QByteArray::number(i + 2);
        items[i] = namedEntry(menu, name.constData(), QString(), Qt::CTRL | keys[i]);
        items[i]->setVisible(false);
    }
    return items;
}

void showQuickProfiles(const QuickProfileItems& items, QAction* moreSeparator, QAction* moreItem,
                       const QStringList& captions) {
    for (int k = 0; k < quickProfileCount; ++k) {
        const bool shown = k < captions.size();
        if (shown)
            items[k]->setText(captions[k]);
        items[k]->setVisible(shown);
    }
    const bool more = captions.size() > quickProfileCount;
    moreSeparator->setVisible(more);
    moreItem->setVisible(more);
}

} // namespace bx
