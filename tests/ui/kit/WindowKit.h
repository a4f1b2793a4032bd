#pragma once

// What the window tests share: the Qt Test headers they use, a scripted prompter, a
// data root with a known game, and the main window started on it.

#include "app/AppData.h"
#include "app/AppTestData.h"
#include "app/TextConvert.h"
#include "support/TempDir.h"
#include "ui/CMirelDlg.h"
#include "ui/HelpWindow.h"
#include "ui/Prompter.h"
#include "ui/QtNotifier.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace pelorin::test {

/// Answers the windows' questions and file dialogs from a script and records what
/// was asked. A question without a scripted answer is answered Cancel (No where
/// there is no Cancel); a file dialog without a scripted file is cancelled.
struct ScriptedPrompter final : Prompter {
    Answer Ask(QWidget* owner, const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    QString OpenFileName(QWidget* owner, const QString& folder, const QString& filter) override;
    QString SaveFileName(QWidget* owner, const QString& folder, const QString& filter, const QString&, bool) override
    { return OpenFileName(owner, folder, filter); }
    /// The next scripted file, with the solution check box left as `exportSolution`.
    QString ExportFileName(QWidget* owner, const QString& folder, bool& solution) override
    { solution = exportSolution; return OpenFileName(owner, folder, {}); }
    /// The texts asked so far, in order; cleared by the call.
    QStringList TakeTexts() { return std::exchange(asked, {}); }

    QStringList asked;
    std::deque<Answer> answers;
    std::deque<QString> files;
    int fileDialogs = 0;
    QString lastFolder;
    bool exportSolution = false;
    /// Runs while a message box is up, as the player reads it (a real box runs its own event loop then).
    std::function<void()> whileAsking;
};

/// The lines of a list, top to bottom.
QStringList Lines(const QListWidget* list);
/// The child of a window that reads `text` (a push button, a menu action), if any.
template <typename T>
T* WithText(QWidget& window, const QString& text)
{
    for (T* child : window.findChildren<T*>())
        if (child->text() == text)
            return child;
    return nullptr;
}
inline QPushButton* ButtonOf(QWidget& window, const QString& text) { return WithText<QPushButton>(window, text); }
inline QAction* ActionOf(QWidget& window, const QString& text) { return WithText<QAction>(window, text); }
/// Runs `act` on the modal window once one is open (the window that opens it runs
/// its own event loop until it closes).
void WhenModal(QObject* context, const std::function<void(QWidget*)>& act, int triesLeft = 1000);
/// The visible top-level windows of a type.
template <typename Window>
QList<Window*> OpenWindows()
{
    QList<Window*> open;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(top); window && window->isVisible())
            open << window;
    return open;
}

/// The settings store in a folder of the test's own, the first run already behind it unless `firstRun`.
struct TestSettings {
    explicit TestSettings(bool firstRun = false);
    TempDir dir;
};

/// The clues of the game that WriteKnownGame writes.
struct KnownGame {
    static constexpr const char* kFirstDefinition = "Small domesticated feline";
    static constexpr const char* kSecondDefinition = "A spiteful woman";
};

/// Writes a game of block pattern 0 filled with known letters: the first Across entry a plural with two definitions
/// and three quotes ("Quote number 1." to 3), the first Down entry of word form 1 without definitions. Every other
/// entry gets one definition.
void WriteKnownGame(const std::string& path);

/// A data root, the application data loaded from it, and the main window shown
/// and past its first tick. The style "A.zas" holds every test word; its game of
/// pattern 0 is the known game. The settings are the test's own (TestSettings).
class WindowRig {
public:
    WindowRig();
    ~WindowRig();

    /// Loads the data and shows the window; true once its first tick is done.
    bool Start();
    /// Takes the cached known game as New Game would.
    bool TakeKnownGame();

    CMirelDlg& Window() { return *window_; }
    AppData& App() { return *app_; }
    template <typename T>
    T* Find(const QString& name) { return window_->findChild<T*>(name); }
    /// Clicks a button of the strip once it is enabled (`presses` times in a row, as a fast double press does), and
    /// lets its posted commands run; false when it never was.
    bool ClickStrip(int button, int presses = 1);

    TestRoot root;
    ScriptedPrompter prompter;
    /// What the window said while it was made (a start without OpenGL is reported
    /// then), taken out of the prompter's record.
    QStringList startTexts;

private:
    QtNotifier notifier_{prompter};
    std::unique_ptr<AppData> app_;
    std::unique_ptr<CMirelDlg> window_;
};

} // namespace pelorin::test
