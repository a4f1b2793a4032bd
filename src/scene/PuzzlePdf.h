#pragma once

#include <QLocale>
#include <QPageSize>
#include <QString>

#include <string>
#include <vector>

namespace pelorin {

class Game;

/// What a printed puzzle holds besides its first page.
struct PdfOptions {
    QString title;         ///< printed at the top of every page
    bool solution = false; ///< a second page with the filled grid
};

/// The paper of a locale: Letter in the territories whose locales print on it
/// (the United States, Canada, Mexico and a few more of the Americas and the
/// Philippines), A4 everywhere else.
QPageSize PaperForLocale(const QLocale& locale);

/// The locale that chooses the paper: LC_ALL, else LC_PAPER, else LANG, each when
/// set and not empty; the C locale without any.
QLocale PaperLocale();

/// Where a block of the clue flow goes: a page (0 the first), a column (0 or 1)
/// and the height from the column's top.
struct CluePlacement {
    int page = 0;
    int column = 0;
    qreal y = 0;
};

/// Places blocks of these heights one below the other, `spacing` apart, in two
/// columns per page, `firstHeight` high on page 1 and `fullHeight` on later
/// pages. A block that does not fit below others starts the next column; a
/// heading (`headings[i]`) goes there too unless its first block fits below it.
std::vector<CluePlacement> PlaceClueBlocks(const std::vector<qreal>& heights, const std::vector<bool>& headings,
                                           qreal spacing, qreal firstHeight, qreal fullHeight);

/// Writes a game as a puzzle to print and solve on paper. Page 1 shows the band of
/// four faces unrolled side by side, blocks black, clue numbers in the corners, the
/// player's letters where there are some and the box's edge columns shaded, since
/// each is one cell seen from two faces; then the Across and Down clues with their
/// word-form notes in two columns. With `solution`, a last page shows the grid
/// filled in. The paper is the system locale's.
///
/// The file is written through a temporary file and renamed over the target only
/// when it is whole. False, with the reason (the C library's text) in `error`, when
/// it cannot be written; the target is then as it was. Needs a QGuiApplication.
bool ExportPdf(const Game& game, const std::string& path, const PdfOptions& options, std::string& error);

} // namespace pelorin
