// pelorin-tool export: a game printed to PDF, to solve on paper.
#include "Command.h"

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

int Run(std::span<const std::string> args)
{
    std::string error;
    const auto options = Options::Parse(args, {"pdf"}, {"solution"}, error);
    if (!options)
        return UsageError(kName, error);
    if (options->Operands().size() != 1)
        return UsageError(kName, "export needs exactly one game file");
    const std::string* pdf = options->Value("pdf");
    if (!pdf)
        return UsageError(kName, "export needs --pdf FILE");
    const std::string& path = options->Operands().front();

    StderrNotifierScope notifier;
    auto game = std::make_unique<Game>();
    if (!OpenGame(path, *game)) {
        // A file that could not be opened has been reported already.
        if (std::FILE* probe = std::fopen(path.c_str(), "rb")) {
            std::fclose(probe);
            std::fprintf(stderr, "pelorin-tool: %s: not a readable game file\n", path.c_str());
        }
        return 1;
    }

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
                                options->Has("solution")};
    if (!ExportPdf(*game, *pdf, pdfOptions, error)) {
        std::fprintf(stderr, "pelorin-tool: %s: %s\n", pdf->c_str(), error.c_str());
        return 1;
    }
    return 0;
}

const Command command(kName, "GAME --pdf FILE [--solution]", Run);

} // namespace
} // namespace pelorin::tool
