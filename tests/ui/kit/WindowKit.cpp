#include "ui/kit/WindowKit.h"

#include "game/BlockPatterns.h"
#include "game/GameFile.h"
#include "scene/MenuDisplayType.h"
#include "scene/StripPictures.h"
#include "support/FilledGame.h"

#include <QSettings>
#include <QTimer>

#include <stdexcept>

namespace pelorin::test {

Prompter::Answer ScriptedPrompter::Ask(QWidget* /*owner*/, const QString& text, const QString& /*caption*/,
                                       Buttons buttons, Icon /*icon*/)
{
    asked << text;
    if (whileAsking)
        whileAsking();
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty())
        return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedPrompter::OpenFileName(QWidget* /*owner*/, const QString& folder, const QString& /*filter*/)
{
    ++fileDialogs;
    lastFolder = folder;
    if (files.empty())
        return {};
    QString file = files.front();
    files.pop_front();
    return file;
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

TestSettings::TestSettings(bool firstRun)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir.Folder()));
    if (!firstRun)
        Settings().WriteString("FirstCall", "1");
}

void WriteKnownGame(const std::string& path)
{
    Game game;
    LayOutPattern(game, 0);
    FillSolution(game);
    for (int32_t direction : {kAcross, kDown})
        for (Entry* entry : game.List(direction))
            entry->definitions.Add(std::make_unique<Definition>(Definition{0, std::string("Clue of ").append(TextOf(entry->text))}));
    Entry& across = *game.Across().At(0);
    across.form = kFormPlural;
    across.definitions.Clear();
    across.definitions.Add(std::make_unique<Definition>(Definition{5, KnownGame::kSecondDefinition}));
    across.definitions.Add(std::make_unique<Definition>(Definition{1, KnownGame::kFirstDefinition}));
    for (const char* text : {"Quote number 1.", "Quote number 2.", "Quote number 3."})
        across.quotes.Add(std::make_unique<Quote>(Quote{0, text}));
    Entry& down = *game.Down().At(0);
    down.form = 1;
    down.definitions.Clear();
    if (!SaveGame(path, game))
        throw std::runtime_error("cannot write the known game");
}

WindowRig::WindowRig()
{
    root.AddStyle("A.zas");
    WriteKnownGame(root.CacheFile("A_0.zac"));
}

WindowRig::~WindowRig()
{
    window_.reset();
    notifier_.SetStatusTarget(nullptr);
    app_.reset();
}

bool WindowRig::Start()
{
    app_ = std::make_unique<AppData>(root.Root());
    notifier_.SetStatusTarget(app_.get());
    app_->LoadAtStartup();
    window_ = std::make_unique<CMirelDlg>(*app_, prompter);
    window_->show();
    startTexts = prompter.TakeTexts();
    return QTest::qWaitFor([this] { return app_->mainWindow == window_.get(); });
}

bool WindowRig::TakeKnownGame()
{
    if (!app_->TakeCachedGame(0, 0))
        return false;
    app_->gameInPlay = true;
    return true;
}

void WhenModal(QObject* context, const std::function<void(QWidget*)>& act, int triesLeft)
{
    QTimer::singleShot(5, context, [=] {
        if (QWidget* modal = QApplication::activeModalWidget())
            act(modal);
        else if (triesLeft > 0)
            WhenModal(context, act, triesLeft - 1);
    });
}

bool WindowRig::ClickStrip(int button, int presses)
{
    auto* strip = Find<MenuDisplayType>(QStringLiteral("Menu"));
    // The window's tick enables the game's buttons once a game is in play.
    if (!QTest::qWaitFor([&] { return strip->Button(button).enabled; }))
        return false;
    for (int press = 0; press < presses; ++press)
        QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(button * kStripButtonWidth + kStripButtonWidth / 2, 12));
    QCoreApplication::processEvents();
    return true;
}

} // namespace pelorin::test
