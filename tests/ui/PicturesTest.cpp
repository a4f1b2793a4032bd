#include "game/BlockPatterns.h"
#include "game/Game.h"
#include "ui/Pictures.h"

#include <QTest>

namespace pelorin {

namespace {

const QColor kWhite(255, 255, 255);

int CountPixels(const QImage& image, const QColor& colour)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour ? 1 : 0;
    return count;
}

// The open cells of the two faces a pattern picture shows, the shared column once.
int OpenCells(int32_t patternId)
{
    int open = 0;
    for (int face = 0; face < 2; ++face)
        for (int row = 0; row < kSide; ++row)
            for (int column = face; column < kSide; ++column)
                open += PatternRow(patternId, face, row)[static_cast<size_t>(column)] != ' ' ? 1 : 0;
    return open;
}

} // namespace

class PicturesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A pattern picture is drawn from its pattern: more open cells show as more white, in proportion.
    void picturesHaveTheirSizesAndPatternsShowTheirOpenCells()
    {
        for (const auto& [id, width] : {std::pair{0, 96}, {1, 95}, {2, 98}})
            QCOMPARE(PatternPicture(id).size(), QSize(width, 92));
        QVERIFY(PatternPicture(3).isNull()); // not offered
        QCOMPARE(Logo().size(), QSize(296, 103));
        QCOMPARE(Logo().pixelColor(0, 0), kWhite);
        QVERIFY(CountPixels(Logo(), QColor(0, 0, 0)) > 500); // the name, in black
        QCOMPARE(DrawIcon(48).size(), QSize(48, 48));
        for (int32_t first = 0; first < kOfferedPatterns; ++first)
            for (int32_t second = first + 1; second < kOfferedPatterns; ++second) {
                const double cells = double(OpenCells(first)) / OpenCells(second);
                const double white = double(CountPixels(PatternPicture(first), kWhite)) /
                                     CountPixels(PatternPicture(second), kWhite);
                QVERIFY2(std::abs(white / cells - 1) < 0.15, qPrintable(QStringLiteral("%1 %2").arg(first).arg(second)));
            }
    }
};

} // namespace pelorin

QTEST_MAIN(pelorin::PicturesTest)
#include "PicturesTest.moc"
