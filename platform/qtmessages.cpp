#include "platform/qtmessages.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>

namespace bx {

namespace {

QMessageBox::Icon boxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

void prepare(QMessageBox& box, const std::string& title, const std::string& text, MessageIcon icon) {
    box.setObjectName("messagebox");
    box.setWindowTitle(QString::fromStdString(title));
    box.setTextFormat(Qt::PlainText);
    box.setText(messageText(text));
    box.setIcon(boxIcon(icon));
}

// Questions come from timers and key handlers as well as from buttons: the box must come to the
// front even when another program has the focus.
void showInFront(QMessageBox& box) {
    box.show();
    box.raise();
    box.activateWindow();
}

} // namespace

QString messageText(const std::string& text) {
    QString out = QString::fromStdString(text);
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

void QtMessageService::addHelp(QMessageBox& box, const std::string& helpFile, int context, bool button) {
    if (context == 0)
        return;
    // F1 shows the box's help topic, with or without a Help button.
    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), &box);
    QObject::connect(f1, &QShortcut::activated, &box,
                     [this, helpFile, context] { help_.showHelp(helpFile, HelpContext, context); });
    if (!button)
        return;
    QPushButton* help = box.addButton(QMessageBox::Help);
    help->setObjectName("helpbutton");
    // A message box closes on any of its buttons; Help must leave it open, so the button is cut
    // loose from the box's button handling and opens the help viewer instead.
    if (auto* buttons = box.findChild<QDialogButtonBox*>())
        QObject::disconnect(help, nullptr, buttons, nullptr);
    QObject::disconnect(help, nullptr, &box, nullptr);
    QObject::connect(help, &QPushButton::clicked, &box,
                     [this, helpFile, context] { help_.showHelp(helpFile, HelpContext, context); });
}

Answer QtMessageService::ask(const Question& question) {
    QMessageBox box(QApplication::activeWindow());
    prepare(box, question.title, question.text, question.icon);
    QPushButton* yes = box.addButton(QMessageBox::Yes);
    QPushButton* no = box.addButton(QMessageBox::No);
    yes->setObjectName("yesbutton");
    no->setObjectName("nobutton");
    box.setDefaultButton(question.defaultButton == DefaultButton::Yes ? yes : no);
    box.setEscapeButton(no);
    addHelp(box, question.helpFile, question.helpContext, true);
    showInFront(box);
    box.exec();
    return box.clickedButton() == yes ? Answer::Yes : Answer::No;
}

void QtMessageService::inform(const Notice& notice) {
    QMessageBox box(QApplication::activeWindow());
    prepare(box, notice.title, notice.text, notice.icon);
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    ok->setObjectName("okbutton");
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    addHelp(box, notice.helpFile, notice.helpContext, notice.helpButton);
    showInFront(box);
    box.exec();
}

} // namespace bx
