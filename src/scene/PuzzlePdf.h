#pragma once

#include <QLocale>
#include <QPageSize>
#include <QString>

#include <string>

namespace pelorin {

class Game;

/// What a printed puzzle holds besides its first page.
struct PdfOptions {
    QString title;         ///< printed at the top of every page
    bool solution = false; ///< a second page with the filled grid
};

/// The paper of a locale: Letter where the locale measures in inches (the US),
/// A4 everywhere else.
QPageSize PaperForLocale(const QLocale& locale);

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
