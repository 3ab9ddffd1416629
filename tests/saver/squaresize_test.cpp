#include "saver/squaresize.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace bx {
namespace {

TEST(squaresize_test, usable_values_are_used_as_read) {
    EXPECT_EQ(2, squareSizeFromText("2"));
    EXPECT_EQ(25, squareSizeFromText("25"));
    EXPECT_EQ(2.5, squareSizeFromText("2.5"));
    EXPECT_EQ(10, squareSizeFromText(" 10 "));
    EXPECT_EQ(12, squareSizeFromText("+12"));
}

TEST(squaresize_test, missing_non_numeric_or_out_of_range_gives_six) {
    for (const char* text : {"", "abc", "30", "1.99", "25.5", "-4", "10px", "0x10", "inf", "nan", "1,5"})
        EXPECT_EQ(6, squareSizeFromText(std::string(text))) << text;
    EXPECT_EQ(6, squareSizeFromText(std::nullopt));
}

TEST(squaresize_test, the_ini_store_keeps_the_setting_in_a_general_section) {
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

TEST(squaresize_test, the_default_store_lives_under_xdg_config_home) {
    const QByteArray config = qgetenv("XDG_CONFIG_HOME");
    ASSERT_FALSE(config.isEmpty()); // the tests never touch the real home folder
    IniSettingsStore store;
    EXPECT_EQ(QDir(QString::fromUtf8(config)).filePath("bramblex/Bramblex 2.ini").toStdString(),
              store.filePath("Bramblex 2"));
}

} // namespace
} // namespace bx
