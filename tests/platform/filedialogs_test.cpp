// The name filters the Qt file dialogs get from our filter entries, and the names the real save
// dialog gives back.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/filedialogs.h"
#include "platform/qtfiledialogs.h"

using namespace bx;

// Once the real dialog is open: picks filter 0 (all files) or 1 (profiles), types the name and
// presses Enter; a message box that follows is accepted, and a dialog still open is cancelled.
void typeIntoFileDialog(int filter, const QString& typed) {
    QTimer::singleShot(50, [filter, typed] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog && dialog->objectName() == "filedialog");
        dialog->selectNameFilter(QStringList{"All Files (*)", "Simulation Files (*.bx2)"}[filter]);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name);
        name->setText(typed);
        QTimer::singleShot(50, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->accept();
        });
        QTest::keyClick(name, Qt::Key_Return);
        if (dialog->isVisible())
            dialog->reject();
    });
}

class FileDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void nameFilters_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("all files match names without a dot") << "All Files (*.*)"
                                                             << "*.*"
                                                             << "All Files (*)";
        QTest::newRow("profiles unchanged") << "Simulation Files (*.bx2)"
                                            << "*.bx2"
                                            << "Simulation Files (*.bx2)";
        QTest::newRow("pattern added when the text has none") << "Profiles"
                                                              << "*.bx2"
                                                              << "Profiles (*.bx2)";
    }
    void nameFilters() {
        QFETCH(QString, description);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(qtNameFilter({description.toStdString(), pattern.toStdString()})),
                 expected);
    }

    // What is typed into the real save dialog, the filter chosen, the path it gives back.
    void savedNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter"); // 0 all files, 1 profiles
        QTest::addColumn<QString>("expected");
        QTest::newRow("extension added") << "mytest" << 1 << "mytest.bx2";
        QTest::newRow("existing file: its full name, for the overwrite question") << "old" << 1 << "old.bx2";
        QTest::newRow("an extension of its own kept") << "notes.txt" << 1 << "notes.txt";
        QTest::newRow("a dotted folder is no extension") << "sub.d/world" << 1 << "sub.d/world.bx2";
        QTest::newRow("a hidden name gets one") << ".hidden" << 1 << ".hidden.bx2";
        QTest::newRow("all files: as typed") << "plain" << 0 << "plain";
    }
    void savedNames() {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir("sub.d"));
        QFile old(folder.path() + "/old.bx2");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.close();
        typeIntoFileDialog(filter, typed);
        QtFileDialogs dialogs;
        const auto path = dialogs.saveFile({"Save Profile:",
                                            folder.path().toStdString(),
                                            {{"All Files (*.*)", "*.*"}, {"Simulation Files", "*.bx2"}},
                                            2});
        QVERIFY(path);
        QCOMPARE(QString::fromStdString(*path), folder.path() + "/" + expected);
    }

    // What is typed into the real open dialog, the filter chosen, the path it gives back.
    void openedNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("filter"); // 0 all files, 1 profiles
        QTest::addColumn<QString>("expected");
        QTest::newRow("extension added") << "mytest" << 1 << "mytest.bx2";
        QTest::newRow("all files chosen: added too") << "mytest" << 0 << "mytest.bx2";
        QTest::newRow("a file without extension: itself") << "plain" << 1 << "plain";
        QTest::newRow("full name as typed") << "mytest.bx2" << 1 << "mytest.bx2";
        QTest::newRow("no such file: said, the dialog stays open") << "missing" << 1 << "";
    }
    void openedNames() {
        QFETCH(QString, typed);
        QFETCH(int, filter);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        for (const char* name : {"mytest.bx2", "plain", "plain.bx2"}) {
            QFile file(folder.path() + "/" + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        typeIntoFileDialog(filter, typed);
        QtFileDialogs dialogs;
        const auto path = dialogs.openFile({"Load Profile:",
                                            folder.path().toStdString(),
                                            {{"All Files (*.*)", "*.*"}, {"Simulation Files", "*.bx2"}},
                                            2});
        QCOMPARE(path ? QString::fromStdString(*path) : QString(),
                 expected.isEmpty() ? QString() : folder.path() + "/" + expected);
    }
};

QTEST_MAIN(FileDialogsTest)
#include "filedialogs_test.moc"
