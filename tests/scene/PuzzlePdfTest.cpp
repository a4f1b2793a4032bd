#include "scene/PuzzlePdf.h"

#include <QTest>

#include <vector>

namespace pelorin {

class PuzzlePdfTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The clues flow down two columns a page. A heading never stands alone at the foot of a column: it moves on
    // unless its first clue fits below it, gap included. A block at the top of a column stays there, however tall.
    void headingsStayWithTheirFirstClue()
    {
        struct Case { // expected: page × 2 + column, and y, of each block
            const char* name; std::vector<qreal> heights; std::vector<bool> headings; qreal room;
            std::vector<std::pair<int, qreal>> expected;
        };
        const Case cases[] = {
            {"heading and clue fit", {10, 10, 10}, {false, true, false}, 40, {{0, 0}, {0, 12}, {0, 24}}},
            {"the gap is the difference", {10, 10, 10}, {false, true, false}, 33, {{0, 0}, {1, 0}, {1, 12}}},
            {"a clue moves on alone", {10, 10, 10}, {false, false, false}, 33, {{0, 0}, {0, 12}, {1, 0}}},
            {"columns fill pages", {10, 10, 10}, {false, false, false}, 10, {{0, 0}, {1, 0}, {2, 0}}},
            {"a tall block stays on top", {50, 10}, {true, false}, 20, {{0, 0}, {1, 0}}},
            {"a last heading needs only itself", {10, 10}, {false, true}, 22, {{0, 0}, {0, 12}}},
        };
        for (const Case& each : cases) {
            const std::vector<CluePlacement> placed = PlaceClueBlocks(each.heights, each.headings, 2, each.room, each.room);
            std::vector<std::pair<int, qreal>> got;
            for (const CluePlacement& at : placed)
                got.emplace_back(at.page * 2 + at.column, at.y);
            QVERIFY2(got == each.expected, each.name);
        }
    }
    // The paper is the one of the locale's territory, as the C library's locales have it: Letter in the United
    // States, Canada and Mexico, A4 in Britain and France and without a territory.
    void paperFollowsTheLocalesTerritory()
    {
        using enum QPageSize::PageSizeId;
        const std::pair<const char*, QPageSize::PageSizeId> cases[] = {{"en_US.UTF-8", Letter}, {"en_CA.UTF-8", Letter},
            {"fr_CA", Letter}, {"es_MX.UTF-8", Letter}, {"en_GB.UTF-8", A4}, {"fr_FR", A4}, {"C", A4}};
        for (const auto& [name, paper] : cases)
            QVERIFY2(PaperForLocale(QLocale(QString::fromLatin1(name))).id() == paper, name);
    }
};

} // namespace pelorin

QTEST_GUILESS_MAIN(pelorin::PuzzlePdfTest)
#include "PuzzlePdfTest.moc"
