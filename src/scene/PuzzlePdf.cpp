#include "scene/PuzzlePdf.h"

#include "foundation/StoredValues.h"
#include "game/ClueText.h"
#include "game/Game.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

namespace pelorin {

namespace {

// Laid out in points: the writer's resolution is set to 72 dots per inch.
constexpr int kPointsPerInch = 72;
constexpr qreal kMargin = 36;
constexpr qreal kFaceGap = 12;
constexpr qreal kColumnGap = 18;
constexpr qreal kTitlePoints = 14;
constexpr qreal kLabelPoints = 8;
constexpr qreal kCellNumberPoints = 5;
// The clues take the largest size at which they fit beside the grid on page 1,
// down to the smallest that still reads well; past that they go on to more pages.
constexpr qreal kLargestCluePoints = 10;
constexpr qreal kSmallestCluePoints = 7;
constexpr qreal kCluePointsStep = 0.5;
// The box's edges, grey enough to tell and light enough to write on.
const QColor kEdgeShade(0xd6, 0xd6, 0xd6);

QFont Font(qreal points, bool bold = false, bool italic = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    // Latin text needs no shaping; without it there are no ligatures, so that "fl"
    // and "fi" copy out of the PDF (and reach a search) as the letters they are.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

/// One piece of the clue flow: a heading, or a clue with its number.
struct ClueBlock {
    QString number;
    QString text;
    bool heading = false;
};

std::vector<ClueBlock> ClueBlocks(const Game& game)
{
    std::vector<ClueBlock> blocks;
    const auto add = [&](const QString& heading, const ItemList<Entry>& entries) {
        if (entries.Count() == 0)
            return;
        blocks.push_back({{}, heading, true});
        for (const Entry* entry : entries) {
            const std::string text = std::string(WordFormNote(entry->form)) + std::string(ClueText(*entry));
            blocks.push_back({QString::number(entry->number) + QLatin1Char('.'), QString::fromUtf8(text), false});
        }
    };
    add(QStringLiteral("Across"), game.Across());
    add(QStringLiteral("Down"), game.Down());
    return blocks;
}

/// The clue flow at one size: its blocks' heights and the numbers' width.
class ClueFlow {
public:
    /// Measured with the painter that draws the flow, which may wrap a line
    /// otherwise than font metrics on their own would.
    ClueFlow(const std::vector<ClueBlock>& blocks, qreal points, qreal columnWidth, QPainter& painter)
        : blocks_(blocks), font_(Font(points)), heading_(Font(points + 1, true))
    {
        const QFontMetricsF metrics(font_, painter.device());
        numberWidth_ = metrics.horizontalAdvance(QStringLiteral("88. "));
        textWidth_ = columnWidth - numberWidth_;
        spacing_ = metrics.height() * 0.25;
        for (const ClueBlock& block : blocks) {
            headings_.push_back(block.heading);
            painter.setFont(block.heading ? heading_ : font_);
            heights_.push_back(
                painter.boundingRect(QRectF(0, 0, textWidth_, 1e6), Qt::TextWordWrap, block.text).height());
        }
    }

    /// Places the blocks in two columns per page, `firstHeight` high on page 1 and
    /// `fullHeight` on later pages. A heading stays with its first clue.
    std::vector<CluePlacement> Place(qreal firstHeight, qreal fullHeight) const
    {
        return PlaceClueBlocks(heights_, headings_, spacing_, firstHeight, fullHeight);
    }

    void Draw(QPainter& painter, size_t index, QPointF topLeft) const
    {
        const ClueBlock& block = blocks_[index];
        if (block.heading) {
            painter.setFont(heading_);
            painter.drawText(QRectF(topLeft, QSizeF(numberWidth_ + textWidth_, heights_[index])), block.text);
            return;
        }
        painter.setFont(font_);
        painter.drawText(QRectF(topLeft, QSizeF(numberWidth_, heights_[index])), Qt::AlignLeft, block.number);
        painter.drawText(QRectF(topLeft + QPointF(numberWidth_, 0), QSizeF(textWidth_, heights_[index])),
                         Qt::TextWordWrap, block.text);
    }

private:
    const std::vector<ClueBlock>& blocks_;
    QFont font_;
    QFont heading_;
    qreal numberWidth_ = 0;
    qreal textWidth_ = 0;
    qreal spacing_ = 0;
    std::vector<qreal> heights_;
    std::vector<bool> headings_;
};

class PuzzleWriter {
public:
    PuzzleWriter(QPdfWriter& writer, const Game& game, const PdfOptions& options)
        : writer_(writer), game_(game), options_(options)
    {
        writer_.setResolution(kPointsPerInch);
        writer_.setPageSize(PaperForLocale(PaperLocale()));
        writer_.setPageMargins(QMarginsF(kMargin, kMargin, kMargin, kMargin), QPageLayout::Point);
        writer_.setTitle(options.title);
        writer_.setCreator(QStringLiteral("Pelorin"));
    }

    bool Write()
    {
        QPainter painter;
        if (!painter.begin(&writer_))
            return false;
        area_ = QRectF(QPointF(0, 0), writer_.pageLayout().paintRectPoints().size());
        cell_ = (area_.width() - (kFaces - 1) * kFaceGap) / (kFaces * kSide);

        qreal top = DrawTitle(painter);
        top = DrawBand(painter, top, false);
        DrawClues(painter, top);
        if (options_.solution) {
            writer_.newPage();
            DrawBand(painter, DrawTitle(painter, QStringLiteral(": solution")), true);
        }
        return painter.end();
    }

private:
    /// Draws a page's title, the game's name and a suffix, on one line: a name too
    /// long for it is cut short, never the suffix. Returns the height below it.
    qreal DrawTitle(QPainter& painter, const QString& suffix = {}) const
    {
        const QFont font = Font(kTitlePoints, true);
        painter.setFont(font);
        const QFontMetricsF metrics(font, &writer_);
        // A little room to spare: the painter may set the text a shade wider.
        const qreal room = area_.width() * 0.98 - metrics.horizontalAdvance(suffix);
        const QString title = metrics.elidedText(options_.title, Qt::ElideRight, room) + suffix;
        painter.drawText(QRectF(area_.left(), area_.top(), area_.width(), TitleHeight()), Qt::AlignLeft, title);
        return area_.top() + TitleHeight();
    }

    qreal TitleHeight() const { return QFontMetricsF(Font(kTitlePoints, true), &writer_).height() * 1.5; }

    /// The four faces side by side from `top`, with "Face n" above each and the
    /// note on the edges below; returns the height below the note.
    qreal DrawBand(QPainter& painter, qreal top, bool solution) const
    {
        painter.setFont(Font(kLabelPoints));
        const qreal label = QFontMetricsF(painter.font(), &writer_).height();
        for (int face = 0; face < kFaces; ++face)
            painter.drawText(QRectF(FaceLeft(face), top, kSide * cell_, label), Qt::AlignHCenter,
                             QStringLiteral("Face %1").arg(face + 1));
        const qreal gridTop = top + label * 1.25;
        for (int face = 0; face < kFaces; ++face) {
            for (int column = 0; column < kSide; ++column) {
                for (int row = 0; row < kSide; ++row)
                    DrawCell(painter, game_.At(face, column, row), QPointF(FaceLeft(face) + column * cell_, gridTop + row * cell_), solution);
            }
        }
        const qreal gridBottom = gridTop + kSide * cell_;
        painter.setFont(Font(kLabelPoints, false, true));
        const QRectF note(area_.left(), gridBottom + label * 0.5, area_.width(), label * 2.5);
        painter.drawText(note, Qt::TextWordWrap,
                         QStringLiteral("The shaded columns are the edges of the box: each is one column of cells, "
                                        "shown on both faces it joins. The right edge of face 4 is the left edge "
                                        "of face 1."));
        return note.bottom() + label;
    }

    void DrawCell(QPainter& painter, const Cell& cell, QPointF topLeft, bool solution) const
    {
        const QRectF box(topLeft, QSizeF(cell_, cell_));
        if (cell.letter == kBlock) {
            painter.fillRect(box, Qt::black);
            return;
        }
        // An edge cell reaches into the gap towards its twin, so the two halves
        // read as one cell across the fold.
        if (cell.twin) {
            const qreal reach = kFaceGap / 2;
            const QRectF bridge(cell.column == 0 ? box.left() - reach : box.right(), box.top() + cell_ / 3, reach,
                                cell_ / 3);
            painter.fillRect(box, kEdgeShade);
            painter.fillRect(bridge, kEdgeShade);
        }
        painter.setPen(QPen(Qt::black, 0.6));
        painter.drawRect(box);
        if (cell.number > 0) {
            painter.setFont(Font(kCellNumberPoints));
            painter.drawText(box.adjusted(1, 0.5, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(cell.number));
        }
        const uint8_t letter = solution ? cell.letter : cell.playerLetter;
        if (IsLetterValue(letter)) {
            painter.setFont(Font(cell_ * 0.55, solution));
            painter.drawText(box.adjusted(0, cell_ * 0.12, 0, 0), Qt::AlignCenter, QString(QLatin1Char(LetterChar(letter))));
        }
    }

    qreal FaceLeft(int face) const { return area_.left() + face * (kSide * cell_ + kFaceGap); }

    void DrawClues(QPainter& painter, qreal top)
    {
        const std::vector<ClueBlock> blocks = ClueBlocks(game_);
        const qreal columnWidth = (area_.width() - kColumnGap) / 2;
        const qreal firstHeight = area_.bottom() - top;
        const qreal fullHeight = area_.height() - TitleHeight();
        // The largest size at which every clue fits on page 1.
        qreal points = kLargestCluePoints;
        for (; points > kSmallestCluePoints; points -= kCluePointsStep) {
            const std::vector<CluePlacement> placed =
                ClueFlow(blocks, points, columnWidth, painter).Place(firstHeight, fullHeight);
            if (placed.empty() || placed.back().page == 0)
                break;
        }
        const ClueFlow flow(blocks, points, columnWidth, painter);
        const std::vector<CluePlacement> placed = flow.Place(firstHeight, fullHeight);
        int page = 0;
        qreal columnTop = top;
        for (size_t i = 0; i < placed.size(); ++i) {
            if (placed[i].page != page) {
                page = placed[i].page;
                writer_.newPage();
                columnTop = DrawTitle(painter);
            }
            flow.Draw(painter, i, QPointF(area_.left() + placed[i].column * (columnWidth + kColumnGap), columnTop + placed[i].y));
        }
    }

    QPdfWriter& writer_;
    const Game& game_;
    const PdfOptions& options_;
    QRectF area_;
    qreal cell_ = 0;
};

} // namespace

std::vector<CluePlacement> PlaceClueBlocks(const std::vector<qreal>& heights, const std::vector<bool>& headings,
                                           qreal spacing, qreal firstHeight, qreal fullHeight)
{
    std::vector<CluePlacement> placed;
    CluePlacement at;
    for (size_t i = 0; i < heights.size(); ++i) {
        // A heading needs the room of its first block too, and of the gap between.
        const bool keepWithNext = headings[i] && i + 1 < heights.size();
        const qreal needed = heights[i] + (keepWithNext ? spacing + heights[i + 1] : 0);
        const qreal room = at.page == 0 ? firstHeight : fullHeight;
        if (at.y > 0 && at.y + needed > room) {
            at.y = 0;
            if (++at.column == 2) {
                at.column = 0;
                ++at.page;
            }
        }
        placed.push_back(at);
        at.y += heights[i] + spacing;
    }
    return placed;
}

QPageSize PaperForLocale(const QLocale& locale)
{
    // The territories whose C library locales print on Letter.
    static constexpr QLocale::Territory kLetter[] = {
        QLocale::UnitedStates, QLocale::Canada,     QLocale::Mexico,    QLocale::PuertoRico,
        QLocale::Philippines,  QLocale::Chile,      QLocale::Colombia,  QLocale::CostaRica,
        QLocale::Guatemala,    QLocale::Nicaragua,  QLocale::Panama,    QLocale::ElSalvador,
        QLocale::Venezuela,
    };
    const bool letter = std::find(std::begin(kLetter), std::end(kLetter), locale.territory()) != std::end(kLetter);
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}

QLocale PaperLocale()
{
    // The order in which the C library looks for a category's locale.
    for (const char* variable : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const QByteArray name = qgetenv(variable);
        if (!name.isEmpty())
            return QLocale(QString::fromLocal8Bit(name));
    }
    return QLocale::c();
}

bool ExportPdf(const Game& game, const std::string& path, const PdfOptions& options, std::string& error)
{
    ReplacingFile target;
    if (!target.Open(path)) {
        error = std::strerror(errno);
        return false;
    }
    bool written = false;
    {
        QFile file;
        if (file.open(target.Get(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            QPdfWriter writer(&file);
            written = PuzzleWriter(writer, game, options).Write();
        }
        file.close();
        written = written && file.error() == QFileDevice::NoError;
    }
    errno = 0;
    if (!target.Commit(written)) {
        error = errno != 0 ? std::strerror(errno) : "the file could not be written whole";
        return false;
    }
    return true;
}

} // namespace pelorin
