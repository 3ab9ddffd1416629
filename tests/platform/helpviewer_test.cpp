#include "platform/helpviewer.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QWindow>
#include <QtTest>

#include "modalbox.h"
#include "platform/qtmessages.h"
#include "support/fakeplatform.h"

class HelpViewerTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { dir_.reset(); }
    void contextShowsItsTopicWithLinks();
    void unknownContextShowsContentsWithANote();
    void searchListsMatchingTopicsAndOpensThem();
    void historyGoesBackAndForward();
    void serviceReusesOneViewerPerFile();
    void viewerComesBackWhereItWasLeft();
    void missingOrBrokenFileIsReportedAndNothingOpens();
    void shippedFileOpensAtEveryContext();
    void viewerTakesInputWhileTheMessageBoxIsOpen();

private:
    std::string writeFile(const char* name, const char* text);
    std::unique_ptr<QTemporaryDir> dir_;
    std::string path_;
};

namespace {

const char* const helpText = R"(title: Viewer Test Help
contents: 1, 2
@topic 1 Resetting the world
@keywords reset, new world
@see 2
Reset makes a new world.
- first point
@topic 2 Saving profiles
@keywords profile, save
Profiles keep the whole world.
)";

template <class T> T* child(QWidget& w, const char* name) {
    auto* found = w.findChild<T*>(name);
    if (!found)
        qFatal("no child %s", name);
    return found;
}

QStringList listed(bx::HelpViewer& viewer) {
    QStringList out;
    auto* list = child<QListWidget>(viewer, "helptopics");
    for (int row = 0; row < list->count(); ++row)
        out << list->item(row)->text();
    return out;
}

} // namespace

std::string HelpViewerTest::writeFile(const char* name, const char* text) {
    const QString path = dir_->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write test file");
    file.write(text);
    return path.toStdString();
}

void HelpViewerTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    path_ = writeFile("test.hlp", helpText);
}

void HelpViewerTest::contextShowsItsTopicWithLinks() {
    bx::test::FakeMessages messages;
    bx::ViewerHelpService service(messages);
    service.showHelp(path_, bx::HelpContext, 1);
    bx::HelpViewer* viewer = service.viewerFor(path_);
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->windowTitle(), "Viewer Test Help");
    QCOMPARE(viewer->currentContext(), 1);
    auto* text = child<QTextBrowser>(*viewer, "helptext");
    QVERIFY(text->toPlainText().startsWith("Resetting the world"));
    QVERIFY(text->toPlainText().contains("first point"));
    QVERIFY(text->toHtml().contains("topic:2"));
    QVERIFY(!child<QLabel>(*viewer, "helpnote")->isVisibleTo(viewer));

    emit text->anchorClicked(QUrl("topic:2")); // following the "See also" link
    QCOMPARE(viewer->currentContext(), 2);

    service.showHelp(path_, bx::HelpContents);
    QCOMPARE(viewer->currentContext(), -1);
    QCOMPARE(listed(*viewer), QStringList({"Resetting the world", "Saving profiles"}));
    QVERIFY(text->toPlainText().contains("Contents"));
    QVERIFY(messages.notices.empty());
}

void HelpViewerTest::unknownContextShowsContentsWithANote() {
    bx::test::FakeMessages messages;
    bx::ViewerHelpService service(messages);
    service.showHelp(path_, bx::HelpContext, 0); // no topic 0 in this file
    bx::HelpViewer* viewer = service.viewerFor(path_);
    QCOMPARE(viewer->currentContext(), -1);
    auto* note = child<QLabel>(*viewer, "helpnote");
    QVERIFY(note->isVisibleTo(viewer));
    QVERIFY(note->text().contains("0"));
    service.showHelp(path_, bx::HelpContext, 2);
    QVERIFY(!note->isVisibleTo(viewer));
}

void HelpViewerTest::searchListsMatchingTopicsAndOpensThem() {
    bx::test::FakeMessages messages;
    bx::ViewerHelpService service(messages);
    service.showHelp(path_, bx::HelpSearch);
    bx::HelpViewer* viewer = service.viewerFor(path_);
    auto* search = child<QLineEdit>(*viewer, "helpsearch");
    QTRY_VERIFY(search->hasFocus());
    QCOMPARE(listed(*viewer).size(), 2); // everything until a word is typed

    QTest::keyClicks(search, "Profile");
    QCOMPARE(listed(*viewer), QStringList({"Saving profiles"}));
    auto* list = child<QListWidget>(*viewer, "helptopics");
    emit list->itemActivated(list->item(0));
    QCOMPARE(viewer->currentContext(), 2);

    search->setText("world");
    QTest::keyClick(search, Qt::Key_Return); // the first match
    QCOMPARE(viewer->currentContext(), 1);
    QCOMPARE(listed(*viewer), QStringList({"Resetting the world", "Saving profiles"}));
    search->setText("zebra");
    QVERIFY(listed(*viewer).isEmpty());
    QVERIFY(child<QLabel>(*viewer, "helpnote")->text().contains("zebra"));

    child<QPushButton>(*viewer, "helpcontents")->click();
    QCOMPARE(search->text(), "");
    QCOMPARE(listed(*viewer).size(), 2);
}

// Each way back or forward, from the pages contents → 1 → 2; a new page drops the ones ahead.
void HelpViewerTest::historyGoesBackAndForward() {
    bx::test::FakeMessages messages;
    bx::ViewerHelpService service(messages);
    service.showHelp(path_, bx::HelpContents);
    bx::HelpViewer* viewer = service.viewerFor(path_);
    auto* text = child<QTextBrowser>(*viewer, "helptext");
    auto* search = child<QLineEdit>(*viewer, "helpsearch");
    auto* back = child<QPushButton>(*viewer, "helpback");
    auto* forward = child<QPushButton>(*viewer, "helpforward");
    const auto key = [](QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [=] { QTest::keyClick(w, k, m); };
    };
    const auto mouse = [](QWidget* w, Qt::MouseButton b) { return [=] { QTest::mouseClick(w, b); }; };
    const struct {
        const char* way;
        std::function<void()> goBack, goForward;
    } ways[] = {
        {"buttons", [back] { back->click(); }, [forward] { forward->click(); }},
        {"Alt+arrows", key(text, Qt::Key_Left, Qt::AltModifier), key(text, Qt::Key_Right, Qt::AltModifier)},
        {"Alt+arrows in the search box", key(search, Qt::Key_Left, Qt::AltModifier),
         key(search, Qt::Key_Right, Qt::AltModifier)},
        {"Backspace, mouse 9", key(text, Qt::Key_Backspace), mouse(text->viewport(), Qt::ForwardButton)},
        {"mouse 8 and 9", mouse(text->viewport(), Qt::BackButton),
         mouse(text->viewport(), Qt::ForwardButton)},
    };
    service.showHelp(path_, bx::HelpContext, 1);
    emit text->anchorClicked(QUrl("topic:2"));
    for (const auto& w : ways) {
        w.goBack();
        QVERIFY2(viewer->currentContext() == 1, w.way);
        w.goBack();
        QVERIFY2(viewer->currentContext() == -1 && !back->isEnabled(), w.way);
        w.goBack(); // nothing before the first page
        QVERIFY2(viewer->currentContext() == -1, w.way);
        w.goForward();
        w.goForward();
        QVERIFY2(viewer->currentContext() == 2 && !forward->isEnabled(), w.way);
    }
    search->setText("Profile");
    QTest::keyClick(search, Qt::Key_Backspace); // edits the box
    QCOMPARE(search->text(), "Profil");
    QCOMPARE(viewer->currentContext(), 2);
    back->click();
    service.showHelp(path_, bx::HelpContext, 1); // the page shown: the one ahead stays
    QVERIFY(forward->isEnabled());
    QCOMPARE(viewer->currentContext(), 1);
    service.showHelp(path_, bx::HelpContents);
    QVERIFY(!forward->isEnabled());
    back->click();
    QCOMPARE(viewer->currentContext(), 1);
}

void HelpViewerTest::serviceReusesOneViewerPerFile() {
    bx::test::FakeMessages messages;
    bx::ViewerHelpService service(messages);
    service.showHelp(path_, bx::HelpContext, 1);
    bx::HelpViewer* first = service.viewerFor(path_);
    first->close();
    service.showHelp(path_, bx::HelpContext, 2);
    QCOMPARE(service.viewerFor(path_), first);
    QVERIFY(first->isVisible());
    QCOMPARE(first->currentContext(), 2);
    first->showMinimized();
    service.showHelp(path_, bx::HelpContents); // brought back
    QVERIFY(!first->isMinimized());

    const std::string other = writeFile("other.hlp", "@topic 7 Seven\n");
    service.showHelp(other, bx::HelpContext, 7);
    QVERIFY(service.viewerFor(other));
    QVERIFY(service.viewerFor(other) != first);
    QCOMPARE(service.viewerFor(other)->windowTitle(), "Bramblex Help"); // the file has no title
}

// Kept when the viewer is closed, or when the program ends with it open; back on the next run.
void HelpViewerTest::viewerComesBackWhereItWasLeft() {
    bx::test::FakeMessages messages;
    bx::test::MemorySettingsStore store;
    const QRect places[] = {{60, 70, 500, 400}, {80, 90, 520, 420}};
    for (int run = 0; run < 3; ++run) {
        bx::ViewerHelpService service(messages);
        service.keepPlaces(&store);
        service.showHelp(path_, bx::HelpContents);
        bx::HelpViewer* viewer = service.viewerFor(path_);
        if (run > 0)
            QCOMPARE(QRect(viewer->pos(), viewer->size()), places[run - 1]);
        if (run == 2)
            break;
        viewer->move(places[run].topLeft());
        viewer->resize(places[run].size());
        if (run == 0)
            viewer->close();
        service.keepPlaces(nullptr);
    }
}

void HelpViewerTest::missingOrBrokenFileIsReportedAndNothingOpens() {
    bx::test::FakeMessages messages;
    bx::ViewerHelpService service(messages);
    const std::string missing = dir_->filePath("missing.hlp").toStdString();
    service.showHelp(missing, bx::HelpContext, 10000);
    QCOMPARE(messages.notices.size(), size_t(1));
    QVERIFY(messages.notices[0].text.find(missing) != std::string::npos);
    QVERIFY(!service.viewerFor(missing));

    const std::string broken = writeFile("broken.hlp", "@topic 1 A\n@topic 1 B\n");
    service.showHelp(broken, bx::HelpContents);
    QCOMPARE(messages.notices.size(), size_t(2));
    QVERIFY(messages.notices[1].text.find("line 2") != std::string::npos);
    QVERIFY(!service.viewerFor(broken));
    QVERIFY(QApplication::topLevelWidgets().isEmpty() ||
            std::none_of(QApplication::topLevelWidgets().begin(), QApplication::topLevelWidgets().end(),
                         [](QWidget* w) { return w->isVisible(); }));

    // Mended in the meantime: read again on the next request.
    writeFile("broken.hlp", "@topic 1 A\n");
    service.showHelp(broken, bx::HelpContents);
    QVERIFY(service.viewerFor(broken));
    QCOMPARE(messages.notices.size(), size_t(2));
}

void HelpViewerTest::shippedFileOpensAtEveryContext() {
    bx::test::FakeMessages messages;
    bx::ViewerHelpService service(messages);
    const std::string shipped = BRAMBLEX_SOURCE_DIR "/help/bramblex.hlp";
    for (int context : {0, 10000, 10001, 10002, 10003, 10004, 10005, 10010, 10011, 10012}) {
        service.showHelp(shipped, bx::HelpContext, context);
        QCOMPARE(service.viewerFor(shipped)->currentContext(), context);
    }
    QCOMPARE(service.viewerFor(shipped)->windowTitle(), "Bramblex 2 Help");
    QVERIFY(messages.notices.empty());
}

// The Help button of a modal box opens the viewer; the box must not block the viewer, or help
// could only be read after answering.
void HelpViewerTest::viewerTakesInputWhileTheMessageBoxIsOpen() {
    bx::ViewerHelpService service;
    bx::QtMessageService messages(service);
    bx::Question question;
    question.title = "Reset Simulation?";
    question.text = "This will reset all data.\rAre you sure?";
    question.helpContext = 1;
    question.helpFile = path_;
    QString typed;
    bx::test::whenBoxShown([&](QMessageBox& box) {
        box.findChild<QPushButton*>("helpbutton")->click();
        bx::HelpViewer* viewer = service.viewerFor(path_);
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->currentContext(), 1);
        auto* search = viewer->findChild<QLineEdit*>("helpsearch");
        viewer->activateWindow();
        search->setFocus();
        // Through the window system's path, where input to blocked windows is dropped.
        QTest::keyClick(viewer->windowHandle(), Qt::Key_W);
        typed = search->text();
        box.findChild<QPushButton*>("nobutton")->click();
    });
    QCOMPARE(messages.ask(question), bx::Answer::No);
    QCOMPARE(typed, "w");
}

QTEST_MAIN(HelpViewerTest)
#include "helpviewer_test.moc"
