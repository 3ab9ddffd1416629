// The name filters the Qt file dialogs get from our filter entries.
#include <QTest>

#include "platform/filedialogs.h"

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
};

QTEST_MAIN(FileDialogsTest)
#include "filedialogs_test.moc"
