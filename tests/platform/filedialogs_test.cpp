// The name filters the Qt file dialogs get from our filter entries, and the names the real save
// dialog gives back.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/filedialogs.h"
#include "platform/qtfiledialogs.h"

using namespace bx;

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
        const QStringList filters{"All Files (*)", "Simulation Files (*.bx2)"};
        QTimer::singleShot(50, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog && dialog->objectName() == "filedialog");
            dialog->selectNameFilter(filters[filter]);
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name);
            name->setText(typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QtFileDialogs dialogs;
        const auto path = dialogs.saveFile({"Save Profile:",
                                            folder.path().toStdString(),
                                            {{"All Files (*.*)", "*.*"}, {"Simulation Files", "*.bx2"}},
                                            2});
        QVERIFY(path);
        QCOMPARE(QString::fromStdString(*path), folder.path() + "/" + expected);
    }
};

QTEST_MAIN(FileDialogsTest)
#include "filedialogs_test.moc"
