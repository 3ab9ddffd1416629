// The small services: cursor counter, web browser lookup and start, screen metrics.
#include <QCursor>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/qtbrowser.h"
#include "platform/qtcursor.h"
#include "platform/qtscreen.h"

class QtServicesTest : public QObject {
    Q_OBJECT

private slots:
    void cursorHiddenExactlyWhileBelowZero();
    void cursorRestoreShowsWhateverTheCount();
    void cursorLeavesOtherOverrideCursorsAlone();
    void browserResults();
    void browserVariableTakesTheFirstExistingProgram();
    void desktopEntryExecGetsTheAddress();
    void desktopEntryFoundInTheDataFolder();
    void screenMetrics();
};

namespace {

bool cursorBlank() {
    const QCursor* c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::BlankCursor;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write");
    file.write(text);
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

void QtServicesTest::cursorHiddenExactlyWhileBelowZero() {
    bx::OverrideCursorCounter cursor;
    QCOMPARE(cursor.show(false), -1);
    QVERIFY(cursorBlank());
    QCOMPARE(cursor.show(false), -2);
    QCOMPARE(cursor.show(true), -1);
    QVERIFY(cursorBlank()); // hidden twice, shown once: still hidden
    QCOMPARE(cursor.show(true), 0);
    QVERIFY(!QGuiApplication::overrideCursor());
    QCOMPARE(cursor.show(true), 1);
    QCOMPARE(cursor.show(false), 0); // 1 -> 0 is still shown
    QVERIFY(!QGuiApplication::overrideCursor());
}

void QtServicesTest::cursorRestoreShowsWhateverTheCount() {
    {
        bx::OverrideCursorCounter cursor;
        cursor.show(false);
        cursor.show(false);
        cursor.show(false);
        cursor.restore();
        QCOMPARE(cursor.count(), 0);
        QVERIFY(!QGuiApplication::overrideCursor());
        cursor.show(true);
        cursor.show(true);
        cursor.restore();
        QCOMPARE(cursor.count(), 0);
        QCOMPARE(cursor.show(false), -1); // from 0 again: one hide hides
        QVERIFY(cursorBlank());
    } // ending with the cursor hidden gives it back
    QVERIFY(!QGuiApplication::overrideCursor());
}

void QtServicesTest::cursorLeavesOtherOverrideCursorsAlone() {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    {
        bx::OverrideCursorCounter cursor;
        cursor.show(false);
        cursor.show(false);
        cursor.restore();
        cursor.restore();
    }
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QGuiApplication::restoreOverrideCursor();
}

void QtServicesTest::browserResults() {
    const bx::BrowserCommand firefox{"firefox", {"https://x.example/"}};
    std::vector<bx::BrowserCommand> started;
    const auto starter = [&started](bool works) {
        return [&started, works](const bx::BrowserCommand& c) {
            started.push_back(c);
            return works;
        };
    };
    QString askedFor;
    const auto found = [&](const QString& url) {
        askedFor = url;
        return std::optional<bx::BrowserCommand>(firefox);
    };

    QCOMPARE(bx::DesktopBrowser(found, starter(true)).open("https://x.example/"), bx::BrowserResult::Opened);
    QCOMPARE(askedFor, "https://x.example/");
    QCOMPARE(started.size(), size_t(1));
    QVERIFY(started[0] == firefox);

    QCOMPARE(bx::DesktopBrowser(found, starter(false)).open("https://x.example/"),
             bx::BrowserResult::CouldNotOpen);

    started.clear();
    const auto none = [](const QString&) { return std::optional<bx::BrowserCommand>(); };
    QCOMPARE(bx::DesktopBrowser(none, starter(true)).open("https://x.example/"),
             bx::BrowserResult::NoBrowser);
    QVERIFY(started.empty()); // nothing is started without a browser

    // The real start of a program that does not exist fails instead of throwing or hanging.
    QVERIFY(!bx::startBrowserDetached({"/nonexistent/browser", {"https://x.example/"}}));
}

void QtServicesTest::browserVariableTakesTheFirstExistingProgram() {
    QTemporaryDir dir;
    const QString tool = writeFile(dir, "mybrowser", "#!/bin/sh\n");
    const QString url = "https://x.example/";
    QCOMPARE(bx::commandFromBrowserVariable("", url), std::nullopt);
    QCOMPARE(bx::commandFromBrowserVariable("/nonexistent/a:/nonexistent/b", url), std::nullopt);

    const auto appended = bx::commandFromBrowserVariable("/nonexistent/a:" + tool + " --new-tab", url);
    QVERIFY(appended);
    QCOMPARE(appended->program, tool);
    QCOMPARE(appended->arguments, QStringList({"--new-tab", url}));

    const auto placed = bx::commandFromBrowserVariable(tool + " --open=%s --x", url);
    QVERIFY(placed);
    QCOMPARE(placed->arguments, QStringList({"--open=" + url, "--x"}));
}

void QtServicesTest::desktopEntryExecGetsTheAddress() {
    QTemporaryDir dir;
    const QString url = "https://x.example/";
    const auto exec = [&](const QByteArray& line) {
        return bx::commandFromDesktopEntry(
            writeFile(dir, "b.desktop",
                      "[Desktop Entry]\nName=B\n" + line + "\n[Desktop Action new]\nExec=wrong %u\n"),
            url);
    };
    QCOMPARE(exec("Exec=/usr/bin/web %u"), bx::BrowserCommand({"/usr/bin/web", {url}}));
    QCOMPARE(exec("Exec=\"/opt/My Web/web\" --class=x %U"),
             bx::BrowserCommand({"/opt/My Web/web", {"--class=x", url}}));
    QCOMPARE(exec("Exec=web %i %c %k"), bx::BrowserCommand({"web", {url}})); // no URL code: appended
    QCOMPARE(exec("Exec=web --100%% %F"), bx::BrowserCommand({"web", {"--100%", url}}));
    QCOMPARE(exec("Name=no exec"), std::nullopt);
    QCOMPARE(bx::commandFromDesktopEntry(dir.filePath("missing.desktop"), url), std::nullopt);
}

void QtServicesTest::desktopEntryFoundInTheDataFolder() {
    // XDG_DATA_HOME is the test's own folder (see tests/CMakeLists.txt).
    const QString applications = qEnvironmentVariable("XDG_DATA_HOME") + "/applications";
    QVERIFY(QDir().mkpath(applications));
    QFile entry(applications + "/bramblextestbrowser.desktop");
    QVERIFY(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nExec=testbrowser %u\n");
    entry.close();
    const QString path = bx::desktopEntryPath("bramblextestbrowser.desktop");
    QCOMPARE(path, entry.fileName());
    QCOMPARE(bx::desktopEntryPath("bramblexnosuchbrowser.desktop"), QString());
    entry.remove();
}

void QtServicesTest::screenMetrics() {
    QCOMPARE(bx::twipsPerPixelAt(96), 15);
    QCOMPARE(bx::twipsPerPixelAt(120), 12);
    QCOMPARE(bx::twipsPerPixelAt(144), 10);
    QCOMPARE(bx::twipsPerPixelAt(0), 15);
    bx::QtScreen screen;
    const QScreen* primary = QGuiApplication::primaryScreen();
    QCOMPARE(screen.widthPixels(), primary->size().width());
    QCOMPARE(screen.heightPixels(), primary->size().height());
    QCOMPARE(screen.twipsPerPixelX(), bx::twipsPerPixelAt(primary->logicalDotsPerInchX()));
}

QTEST_MAIN(QtServicesTest)
#include "qtservices_test.moc"
