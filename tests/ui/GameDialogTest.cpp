#include "ui/kit/WindowKit.h"

#include "support/RecordingNotifier.h"
#include "ui/GameDialog.h"

#include <QComboBox>

#include <filesystem>
#include <tuple>

namespace pelorin {

namespace {
// A fill of the test words takes milliseconds, a worker's one try that fails about
// a tenth of a second. Generous for a busy machine and the sanitizers.
constexpr int kWaitMs = 60000;
const QString kWaiting = QStringLiteral("Processing, please wait ...");
} // namespace

class GameDialogTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { settings_ = std::make_unique<test::TestSettings>(); root_ = std::make_unique<test::TestRoot>(); }
    void cleanup() { root_.reset(); settings_.reset(); }
    // OK waits for the chosen game: when its worker has already ended without a file, the wait starts it again, and
    // the game is taken at the first check after it appeared.
    void takesTheGameOnceItIsMade()
    {
        auto app = Start({{"A.zas", 8}, {"B.zas", 8}});
        const Style& style = *app->Styles().At(1);
        QVERIFY(QTest::qWaitFor([&] { return app->RunningWorkers(style) == 0; }, kWaitMs));
        const std::string path = app->CachePath(style, 1);
        QVERIFY(std::filesystem::remove(path));
        GameDialog dialog(*app, nullptr);
        dialog.show();
        dialog.findChild<QComboBox*>(QStringLiteral("Styles"))->setCurrentIndex(1);
        ChooseAndOk(dialog, 1);
        QTRY_COMPARE_WITH_TIMEOUT(WaitText(dialog), kWaiting, kWaitMs);
        QVERIFY(!Button(dialog, QStringLiteral("OK"))->isEnabled());
        QTRY_COMPARE_WITH_TIMEOUT(dialog.result(), int(QDialog::Accepted), kWaitMs);
        QVERIFY(app->gameInPlay && app->modified); // the taking itself is the core's
        QCOMPARE(std::pair(app->lastStyleId, app->lastBlockId), std::pair(1, 1));
    }
    // A style whose worker gives up again and again cannot fill the pattern, and no
    // game comes from a cache that cannot be written (a plain file in its place): the
    // wait ends with that news, told once, and OK can be pressed for another choice.
    void saysSoWhenNoGameCanCome()
    {
        const std::vector<std::tuple<std::string, int, QString>> cases = {
            {"Short.zas", 2, QStringLiteral("This style cannot fill this block pattern.")},
            {"Long.zas", 8, QStringLiteral("Cannot save games in the cache folder: Not a directory.")},
        };
        for (const auto& [name, longest, news] : cases) {
            test::RecordingNotifier notifier;
            init();
            if (longest == 8) {
                std::filesystem::remove_all(root_->Cache());
                QVERIFY(test::WriteFileBytes(root_->Cache(), "not a folder"));
            }
            auto app = Start({{name, longest}});
            GameDialog dialog(*app, nullptr);
            dialog.show();
            ChooseAndOk(dialog, 0);
            QTRY_COMPARE_WITH_TIMEOUT(WaitText(dialog), news, kWaitMs);
            QVERIFY(Button(dialog, QStringLiteral("OK"))->isEnabled());
            QVERIFY(!dialog.Waiting());
            app.reset();
            // The worker tells the fault once, with the folder.
            const std::string told = "Cannot save games in the cache folder " + root_->Cache() + ": Not a directory.";
            QVERIFY(notifier.Messages() == (longest == 8 ? std::vector{std::pair(told, std::string("Error"))}
                                                         : std::vector<std::pair<std::string, std::string>>{}));
        }
    }
    // A stored pattern that New Game does not offer (written by hand) shows no frame and OK does nothing until a
    // picture is clicked; so does OK without a style. Cancel during the wait leaves the current game and its state
    // alone, but the pattern chosen is remembered for the next time.
    void okWaitsOnlyForAChoiceAndCancelKeepsTheGame()
    {
        auto app = Start({{"A.zas", 8}});
        app->lastBlockId = 49;
        app->lastStyleId = 5;
        GameDialog dialog(*app, nullptr);
        dialog.show();
        auto* styles = dialog.findChild<QComboBox*>(QStringLiteral("Styles"));
        QCOMPARE(styles->currentIndex(), -1);
        for (const int style : {-1, 0}) {
            styles->setCurrentIndex(style);
            ClickOk(dialog);
            QVERIFY(!dialog.Waiting());
        }
        ChooseAndOk(dialog, 2);
        QVERIFY(dialog.Waiting());
        QTest::mouseClick(Button(dialog, QStringLiteral("Cancel")), Qt::LeftButton);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.Waiting());
        QCOMPARE(app->lastBlockId, 2);
        QVERIFY(app->CurrentGame().Across().Count() == 0 && !app->modified && !app->gameInPlay);
    }

private:
    // Loads the data of a root with the style files given, each with the longest word it holds.
    std::unique_ptr<AppData> Start(const std::vector<std::pair<std::string, int>>& styles)
    {
        for (const auto& [name, longest] : styles)
            root_->AddStyle(name, longest);
        auto app = std::make_unique<AppData>(root_->Root());
        app->prepareAttempts = 1; // a style that cannot fill gives up at once
        app->LoadAtStartup();
        return app;
    }
    static QPushButton* Button(GameDialog& dialog, const QString& text) { return test::ButtonOf(dialog, text); }
    static void ClickOk(GameDialog& dialog) { QTest::mouseClick(Button(dialog, QStringLiteral("OK")), Qt::LeftButton); }
    static QString WaitText(GameDialog& dialog) { return dialog.findChild<QLabel*>(QStringLiteral("WaitText"))->text(); }
    static void ChooseAndOk(GameDialog& dialog, int pattern)
    {
        QTest::mouseClick(dialog.findChild<QLabel*>(QStringLiteral("Pattern%1").arg(pattern)), Qt::LeftButton);
        ClickOk(dialog);
    }

    std::unique_ptr<test::TestSettings> settings_;
    std::unique_ptr<test::TestRoot> root_;
};

} // namespace pelorin

QTEST_MAIN(pelorin::GameDialogTest)
#include "GameDialogTest.moc"
