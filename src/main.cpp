// Pelorin, the game: the splash runs the start-up load, then the main window runs
// until it is closed.
//
// --version prints the release and ends, before the toolkit starts, so that it needs
// no display.
//
// One switch exists for developers and scripts: --screenshot FILE starts as usual,
// takes the ready game of the last chosen style and pattern from the cache, saves
// a picture of the main window to FILE, prints how long the window took to show and
// the memory in use, and ends. It leaves the game kept from the player's last run
// where it is.

#include "app/AppData.h"
#include "app/TextConvert.h"
#include "foundation/StartupClock.h"
#include "foundation/TextUtil.h"
#include "ui/CMirelDlg.h"
#include "ui/Prompter.h"
#include "ui/QtNotifier.h"
#include "ui/StartDialog.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFont>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>

namespace pelorin {
namespace {

// The windows are laid out for an 8-point dialog font at 96 dots per inch.
constexpr int kDialogFontPixels = 11;

void UseDialogFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(kDialogFontPixels);
    QApplication::setFont(font);
}

void CentreOnScreen(QWidget& window)
{
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

// A line of /proc/self/status in megabytes ("VmRSS", "VmHWM"); -1 when absent.
long StatusMegabytes(const std::string& name)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(name + ":"))
            return std::stol(line.substr(name.size() + 1)) / 1024;
    }
    return -1;
}

// The --screenshot run, once the main window shows: waits for the cached game,
// takes it, lets the window draw it and saves the picture.
class Screenshot {
public:
    static constexpr int kPollMs = 100;
    static constexpr int kLimitMs = 120000;
    static constexpr int kSettleMs = 300;

    Screenshot(AppData& app, CMirelDlg& window, QString path) : app_(app), window_(window), path_(std::move(path))
    {
        QTimer::singleShot(0, [this] { shownMs_ = startup_clock::SinceProcessStart(); });
        QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
        poll_.start(kPollMs);
        waited_.start();
    }

private:
    void Poll()
    {
        if (!app_.mainWindow)
            return; // the first tick has not come yet
        const int32_t style = app_.Styles().At(app_.lastStyleId) ? app_.lastStyleId : 0;
        const int32_t pattern = app_.LastBlockOffered() ? app_.lastBlockId : 0;
        if (const Style* chosen = app_.Styles().At(style);
            chosen && CachedGameExists(StripExtension(chosen->FileName()), app_.CacheFolder(), pattern) &&
            app_.TakeCachedGame(style, pattern)) {
            poll_.stop();
            app_.gameInPlay = true;
            QTimer::singleShot(kSettleMs, [this] { Save(); });
            return;
        }
        if (app_.Styles().Count() == 0 || waited_.elapsed() > kLimitMs) {
            std::fprintf(stderr, "pelorin: no game ready in %s\n", app_.CacheFolder().c_str());
            QCoreApplication::exit(1);
        }
    }

    void Save()
    {
        if (!window_.grab().save(path_)) {
            std::fprintf(stderr, "pelorin: cannot write %s\n", ToNarrow(path_).c_str());
            QCoreApplication::exit(1);
            return;
        }
        std::printf("pelorin: main window shown %ld ms after start; %ld MB resident with a game in play "
                    "(peak %ld MB); picture in %s\npelorin: start-up: %s\n",
                    shownMs_, StatusMegabytes("VmRSS"), StatusMegabytes("VmHWM"), ToNarrow(path_).c_str(),
                    startup_clock::Report().c_str());
        QCoreApplication::exit(0);
    }

    AppData& app_;
    CMirelDlg& window_;
    QString path_;
    QTimer poll_;
    QElapsedTimer waited_;
    long shownMs_ = -1;
};

std::optional<QString> ScreenshotPath(const QStringList& arguments)
{
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    if (at < 0 || at + 1 >= arguments.size())
        return std::nullopt;
    return arguments[at + 1];
}

int Run(QApplication& application)
{
    QtPrompter prompter;
    QtNotifier notifier(prompter);
    AppData& app = GetAppData();
    notifier.SetStatusTarget(&app);
    int result = 0;
    {
        CMirelDlg window(app, prompter);
        startup_clock::Mark("main window made");
        {
            StartDialog splash(app);
            CentreOnScreen(splash);
            splash.exec();
        }
        startup_clock::Mark("splash closed");
        CentreOnScreen(window);
        window.show();
        std::optional<Screenshot> screenshot;
        if (const std::optional<QString> path = ScreenshotPath(application.arguments())) {
            window.LeaveKeptGameAlone();
            screenshot.emplace(app, window, *path);
        }
        result = application.exec();
    }
    // Stops and joins the workers; nothing they report is shown any more.
    notifier.SetStatusTarget(nullptr);
    DestroyAppData();
    return result;
}

} // namespace
} // namespace pelorin

int main(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("pelorin %s\n", PELORIN_VERSION);
            return 0;
        }
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelorin"));
    pelorin::UseDialogFont();
    pelorin::startup_clock::Mark("Qt");
    return pelorin::Run(application);
}
