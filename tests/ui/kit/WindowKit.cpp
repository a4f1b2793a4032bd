#include "ui/kit/WindowKit.h"

#include "game/BlockPatterns.h"
#include "game/GameFile.h"
#include "scene/MenuDisplayType.h"
#include "scene/StripPictures.h"
#include "support/FilledGame.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <stdexcept>
#include <utility>

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

QString ScriptedPrompter::SaveFileName(QWidget* owner, const QString& folder, const QString& filter,
                                       const QString& /*defaultSuffix*/, bool /*askToReplace*/)
{
    return OpenFileName(owner, folder, filter);
}

QString ScriptedPrompter::ExportFileName(QWidget* owner, const QString& folder, bool& solution)
{
    solution = exportSolution;
    return OpenFileName(owner, folder, {});
}

QStringList ScriptedPrompter::TakeTexts()
{
    return std::exchange(asked, {});
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

QPushButton* ButtonOf(QWidget& window, const QString& text)
{
    for (QPushButton* button : window.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    return nullptr;
}

QAction* ActionOf(QWidget& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}

HelpWindow* OpenHelpWindow()
{
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<HelpWindow*>(window); help && help->isVisible())
            return help;
    }
    return nullptr;
}

TestSettings::TestSettings(bool firstRun)
{
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(dir_.Folder()));
    if (!firstRun)
        Settings().WriteString("FirstCall", "1");
}

std::string KnownGame::QuoteText(int k)
{
    return "Quote number " + std::to_string(k) + ".";
}

void WriteKnownGame(const std::string& path)
{
    Game game;
    LayOutPattern(game, 0);
    FillSolution(game);
    for (int32_t direction : {kAcross, kDown}) {
        for (Entry* entry : game.List(direction))
            entry->definitions.Add(std::make_unique<Definition>(Definition{0, std::string("Clue of ").append(TextOf(entry->text))}));
    }
    Entry& across = *game.Across().At(0);
    across.form = kFormPlural;
    across.definitions.Clear();
    across.definitions.Add(std::make_unique<Definition>(Definition{5, KnownGame::kSecondDefinition}));
    across.definitions.Add(std::make_unique<Definition>(Definition{1, KnownGame::kFirstDefinition}));
    for (int k = 1; k <= KnownGame::kQuotes; ++k) {
        auto quote = std::make_unique<Quote>();
        quote->text = KnownGame::QuoteText(k);
        across.quotes.Add(std::move(quote));
    }
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
