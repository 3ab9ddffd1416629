#include "platform/inisettingsstore.h"

#include "saverinstall/squaresetting.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace bx {
namespace {

TEST(inisettingsstore_test, the_ini_store_keeps_the_setting_in_a_general_section) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    IniSettingsStore store(dir.path().toStdString());
    EXPECT_EQ(6, readSquareSize(store)); // nothing stored
    storeSquareSize(store, 10);
    EXPECT_EQ(10, readSquareSize(store));
    storeSquareSize(store, 2.5);
    EXPECT_EQ("2.5", store.get("Bramblex 2", "General", "Square Size"));

    QFile file(QString::fromStdString(store.filePath("Bramblex 2")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[General]")) << text.toStdString();
    EXPECT_FALSE(text.contains("%General")) << text.toStdString();

    store.set("Bramblex 2", "Other", "Key", "x,y");
    EXPECT_EQ("x,y", store.get("Bramblex 2", "Other", "Key"));
    EXPECT_FALSE(store.get("Bramblex 2", "Other", "Missing"));
}

TEST(inisettingsstore_test, the_default_store_lives_under_xdg_config_home) {
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty()); // the tests never touch the real home folder
    IniSettingsStore store;
    EXPECT_EQ(QDir(QString::fromUtf8(config)).filePath("bramblex/Bramblex 2.ini").toStdString(),
              store.filePath("Bramblex 2"));
}

} // namespace
} // namespace bx
