// The PNG writer's pictures as an independent decoder (Qt's) reads them: size and every pixel.
#include <QImage>
#include <QTest>
#include <sstream>
#include <vector>

#include "record/pngwriter.h"

namespace {

// A pattern that differs in every channel from one pixel to the next, row and column.
std::vector<uint8_t> patternRow(int width, int y) {
    std::vector<uint8_t> row;
    for (int x = 0; x < width; ++x) {
        row.push_back(uint8_t(x * 7 + y * 13));
        row.push_back(uint8_t((x ^ y) * 3 + 1));
        row.push_back(uint8_t(x * y + 255));
    }
    return row;
}

} // namespace

class PngReadBackTest : public QObject {
    Q_OBJECT
private slots:
    void qtReadsEveryPixel_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::newRow("one pixel") << 1 << 1;
        QTest::newRow("odd sides") << 99 << 75;
        QTest::newRow("one wide row") << 1001 << 1;
        QTest::newRow("one tall column") << 1 << 513;
        QTest::newRow("larger than a deflate window") << 640 << 333;
    }
    void qtReadsEveryPixel() {
        QFETCH(int, width);
        QFETCH(int, height);
        std::ostringstream out;
        bx::PngWriter writer(out, width, height); // row by row, as the runner paints big worlds
        for (int y = 0; y < height; ++y)
            writer.writeRow(patternRow(width, y));
        writer.finish();
        const std::string png = out.str();
        QImage image;
        QVERIFY(image.loadFromData(reinterpret_cast<const uchar*>(png.data()), qsizetype(png.size()), "PNG"));
        QCOMPARE(image.size(), QSize(width, height));
        QVERIFY(!image.hasAlphaChannel());
        for (int y = 0; y < height; ++y) {
            const std::vector<uint8_t> row = patternRow(width, y);
            for (int x = 0; x < width; ++x) {
                const QRgb pixel = image.pixel(x, y);
                const QRgb expected = qRgb(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
                if (pixel != expected)
                    QFAIL(qPrintable(QString("pixel %1,%2 is %3, not %4")
                                         .arg(x)
                                         .arg(y)
                                         .arg(pixel, 8, 16)
                                         .arg(expected, 8, 16)));
            }
        }
    }
};

QTEST_MAIN(PngReadBackTest)
#include "pngreadback_test.moc"
