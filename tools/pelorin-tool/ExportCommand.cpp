// pelorin-tool export: a game printed to PDF, to solve on paper.
#include "Command.h"
#include "Files.h"
#include "Report.h"

#include "foundation/TextUtil.h"
#include "game/Game.h"
#include "game/GameFile.h"
#include "scene/PuzzlePdf.h"

#include <QGuiApplication>

#include <cstdio>
#include <memory>
#include <string>

namespace pelorin::tool {
namespace {

constexpr const char* kName = "export";

int Run(const Options& options)
{
    if (options.Operands().size() != 1 || options.Operands()[0].empty())
        return UsageError(kName, "export needs exactly one game file");
    const std::string* pdf = options.Value("pdf");
    if (!pdf || pdf->empty())
        return UsageError(kName, "export needs --pdf FILE");
    const std::string& path = options.Operands().front();

    if (!CheckReadableFile(path) || !CheckNotAnInput(*pdf, {&path, 1}) || !CheckWritableFile(*pdf))
        return kFailureExit;
    auto game = std::make_unique<Game>();
    if (!OpenGame(path, *game))
        return ReportError(path, FormatFault(path, Game::kVersion, Game::kMagic, "game"));

    // Text needs the font database of a GUI application; no window is shown, so
    // none needs a display. What Qt says of its own set-up (a runtime folder not
    // set, say) is no concern of this command's user.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "pelorin-tool: %s\n", qPrintable(text));
    });
    int argc = 1;
    char program[] = "pelorin-tool";
    char* argv[] = {program, nullptr};
    const QGuiApplication application(argc, argv);

    const PdfOptions pdfOptions{QString::fromStdString(StripExtension(SplitPath(path).second)),
                                options.Has("solution")};
    std::string error;
    if (!ExportPdf(*game, *pdf, pdfOptions, error))
        return ReportError(*pdf, error);
    return 0;
}

const Command command(kName, "GAME --pdf FILE [--solution]",
                      "Writes a game as a PDF to print and solve on paper: the four faces side by side, with\n"
                      "the player's letters, and the Across and Down clues; --solution adds a page with the\n"
                      "filled grid. The paper is the locale's for paper (LC_PAPER, else LANG): Letter in the US,\n"
                      "Canada, Mexico and a few more, A4 elsewhere.",
                      {"pdf"}, {"solution"}, Run);

} // namespace
} // namespace pelorin::tool
