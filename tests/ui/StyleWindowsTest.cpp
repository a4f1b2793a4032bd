#include "ui/kit/WindowKit.h"

#include "lexicon/Style.h"
#include "ui/StyleBuildThread.h"
#include "ui/StyleDialog.h"
#include "ui/StyleListDialog.h"

#include <QSignalSpy>

#include <filesystem>
#include <fstream>
#include <limits>

namespace pelorin {

using Answer = Prompter::Answer;
using test::Lines;
using test::WhenModal;
namespace fs = std::filesystem;

namespace {

// Builds of a few small books take milliseconds; generous for the sanitizers.
constexpr int kWaitMs = 30000;

constexpr auto Button = &test::ButtonOf;

QString Line(const Style& style, const QString& status)
{
    return QStringLiteral("%1\t%2\t%3\t%4").arg(ToWide(TextOf(style.Description()))).arg(style.Books().Count())
        .arg(style.Words().Count()).arg(status);
}

} // namespace

class StyleWindowsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TestSettings> settings_;
    std::unique_ptr<test::TestRoot> root_;
    std::unique_ptr<test::ScriptedPrompter> prompter_;
    std::unique_ptr<QtNotifier> notifier_;
    std::unique_ptr<AppData> app_;
    // The application data of a root holding these styles; with words of at most 4
    // letters no grid fills, and their workers search until they are stopped.
    AppData& Start(std::initializer_list<const char*> styles)
    {
        for (const char* name : styles)
            root_->AddStyle(name, 4);
        app_ = std::make_unique<AppData>(root_->Root());
        app_->prepareAttempts = std::numeric_limits<int32_t>::max();
        app_->LoadAtStartup();
        return *app_;
    }
    std::string Book(const std::string& name, const std::string& text)
    {
        const std::string path = root_->Root() + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Adds books to the editor as the player picks them in the file dialog.
    void AddBooks(StyleDialog& editor, const std::vector<std::string>& paths)
    {
        for (const std::string& path : paths) {
            prompter_->files.push_back(ToWide(path));
            Button(editor, QStringLiteral("Add..."))->click();
        }
    }

private Q_SLOTS:
    void init()
    {
        settings_ = std::make_unique<test::TestSettings>();
        root_ = std::make_unique<test::TestRoot>();
        prompter_ = std::make_unique<test::ScriptedPrompter>();
        notifier_ = std::make_unique<QtNotifier>(*prompter_);
    }
    void cleanup() { app_.reset(); notifier_.reset(); prompter_.reset(); root_.reset(); settings_.reset(); }

    // One line per style with its counts and the number of its running workers; a tick rebuilds the list only when
    // that number changed anywhere, and keeps the selection. Delete asks first; No keeps everything, Yes removes
    // the style's file and line and leaves nothing selected; a file that cannot be deleted is told, and its style
    // kept.
    void managerShowsUpdatesAndDeletesStyles()
    {
        // Games of pattern 1 wait in the cache: their workers end at once.
        test::WriteFileBytes(root_->CacheFile("A_1.zac"), "game");
        test::WriteFileBytes(root_->CacheFile("B_1.zac"), "game");
        AppData& app = Start({"A.zas", "B.zas"});
        const Style& first = *app.Styles().At(0);
        const Style& second = *app.Styles().At(1);
        QVERIFY(QTest::qWaitFor([&] { return !app.WorkerRunning(first, 1) && !app.WorkerRunning(second, 1); }, kWaitMs));
        StyleListDialog manager(app, *prompter_, nullptr);
        manager.show();
        auto* list = manager.findChild<QListWidget*>(QStringLiteral("Styles"));
        const QString busy = QStringLiteral("Processing 2 Games");
        QCOMPARE(Lines(list), QStringList({Line(first, busy), Line(second, busy)}));
        QSignalSpy refreshed(&manager, &StyleListDialog::Refreshed);
        const auto afterATick = [&] { QTest::qWait(StyleListDialog::kTickMs * 3 / 2); return refreshed.count(); };
        list->setCurrentRow(1);
        QCOMPARE(afterATick(), 0);
        app.StopPreparation(first);
        QTRY_COMPARE_WITH_TIMEOUT(refreshed.count(), 1, kWaitMs);
        QCOMPARE(Lines(list), QStringList({Line(first, QStringLiteral("Ready")), Line(second, busy)}));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(afterATick(), 1);
        // The busy style is deleted: its workers stop with it.
        QPushButton* remove = Button(manager, QStringLiteral("Delete"));
        list->setCurrentRow(-1);
        remove->click();
        QVERIFY(prompter_->TakeTexts().isEmpty()); // nothing selected: no question
        const QString question = QStringLiteral("Style file will be permanently deleted. Are you sure ?");
        list->setCurrentRow(1);
        prompter_->answers = {Answer::No};
        remove->click();
        QCOMPARE(prompter_->TakeTexts(), QStringList{question});
        QVERIFY(list->count() == 2 && fs::exists(root_->StyleFile("B.zas")));
        // A file that cannot be deleted (a folder with something in it has taken its
        // place) is named with the reason, and the style stays.
        const std::string styleFile = root_->StyleFile("B.zas");
        const std::string bytes = test::FileBytes(styleFile);
        fs::remove(styleFile);
        fs::create_directories(styleFile + "/inside");
        prompter_->answers = {Answer::Yes};
        remove->click();
        QCOMPARE(prompter_->TakeTexts(),
                 QStringList({question, QStringLiteral("Cannot delete the style file %1: Directory not empty.")
                                            .arg(ToWide(styleFile))}));
        QCOMPARE(list->count(), 2);
        fs::remove_all(styleFile);
        QVERIFY(test::WriteFileBytes(styleFile, bytes));
        list->setCurrentRow(1);
        prompter_->answers = {Answer::Yes};
        remove->click();
        QCOMPARE(Lines(list), QStringList({Line(first, QStringLiteral("Ready"))}));
        QVERIFY(list->selectedItems().isEmpty());
    }

    // Books come from the root's Books folder, each path once (letter case counts);
    // Remove is there while books are. Save checks the input before it asks for a
    // file in the styles folder, and a cancelled file dialog builds nothing.
    void editorChecksItsInput()
    {
        AppData& app = Start({});
        StyleDialog editor(app, *prompter_, nullptr);
        editor.show();
        auto* books = editor.findChild<QListWidget*>(QStringLiteral("Books"));
        auto* description = editor.findChild<QLineEdit*>(QStringLiteral("Description"));
        QPushButton* remove = Button(editor, QStringLiteral("Remove..."));
        QPushButton* save = Button(editor, QStringLiteral("Save ..."));
        QVERIFY(!remove->isEnabled());
        AddBooks(editor, {"/books/Poems.txt", "/books/Poems.txt", "/books/poems.txt"});
        QCOMPARE(prompter_->lastFolder, ToWide(root_->Root() + "Books"));
        QCOMPARE(Lines(books), QStringList({QStringLiteral("/books/Poems.txt"), QStringLiteral("/books/poems.txt")}));
        QVERIFY(remove->isEnabled());
        description->setText(QStringLiteral("12345678901234567"));
        save->click();
        QCOMPARE(prompter_->TakeTexts(), QStringList({QStringLiteral("Description cannot exceed 16 characters")}));
        QCOMPARE(prompter_->fileDialogs, 3);
        description->setText(QStringLiteral("Poems"));
        save->click();
        QVERIFY(prompter_->TakeTexts().isEmpty() && !editor.Building());
        QCOMPARE(prompter_->fileDialogs, 4);
        QCOMPARE(prompter_->lastFolder, ToWide(app.StylesFolder()));
        for (int book = 0; book < 2; ++book) {
            books->setCurrentRow(0);
            remove->click();
        }
        QVERIFY(books->count() == 0 && !remove->isEnabled());
    }

    // Cancel during a build stops it half way: no style, no file, the dialog open
    // with its controls back; the controls wait while the build runs.
    void cancelledBuildLeavesNothing()
    {
        AppData& app = Start({});
        std::string text;
        for (int i = 0; i < 100000; ++i)
            text += "ABC BAC CAB. ";
        const std::string big = Book("big.txt", text);
        std::vector<std::string> books;
        for (int i = 0; i < 40; ++i) {
            books.push_back(root_->Root() + "copy" + std::to_string(i) + ".txt");
            fs::create_symlink(big, books.back());
        }
        StyleDialog editor(app, *prompter_, nullptr);
        editor.show();
        AddBooks(editor, books);
        auto* description = editor.findChild<QLineEdit*>(QStringLiteral("Description"));
        description->setText(QStringLiteral("Big"));
        const std::string path = root_->StyleFile("Big.zas");
        prompter_->files = {ToWide(path)};
        auto* thread = editor.findChild<StyleBuildThread*>();
        QSignalSpy finished(thread, &StyleBuildThread::Finished);
        int cancelledAt = -1;
        connect(thread, &StyleBuildThread::Progress, &editor, [&](int done, int count, const QString&) {
            QCOMPARE(count, 40);
            QVERIFY(!description->isEnabled() && !Button(editor, QStringLiteral("Save ..."))->isEnabled());
            if (done == 1 && cancelledAt < 0) {
                cancelledAt = done;
                Button(editor, QStringLiteral("Cancel"))->click();
            }
        });
        Button(editor, QStringLiteral("Save ..."))->click();
        QVERIFY(editor.Building());
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, kWaitMs);
        QCOMPARE(cancelledAt, 1);
        QVERIFY(!editor.Building() && editor.isVisible() && description->isEnabled());
        QVERIFY(!editor.TakeStyle() && !fs::exists(path));
    }

    // From the manager: a file that cannot be written is said so and another is asked for; a listed style's file
    // asks whether to replace that style, and Yes puts the new style in its place, so that one style stays on the
    // file. The completion names the book that could not be read and warns of too few words.
    void newStyleSavedOverAListedStyleReplacesIt()
    {
        AppData& app = Start({"A.zas", "B.zas"});
        StyleListDialog manager(app, *prompter_, nullptr);
        manager.show();
        const std::string book = Book("mine.txt", "ABC BAC CAB. CCA ACC.");
        const std::string missing = root_->Root() + "gone.txt";
        const std::string target = root_->StyleFile("A.zas");
        prompter_->answers = {Answer::No, Answer::Yes};
        bool driven = false;
        WhenModal(this, [&](QWidget* modal) {
            auto* editor = qobject_cast<StyleDialog*>(modal);
            QVERIFY(editor);
            editor->findChild<QLineEdit*>(QStringLiteral("Description"))->setText(QStringLiteral("Mine"));
            AddBooks(*editor, {book, missing});
            prompter_->files = {ToWide(root_->Root() + "no/such/folder.zas"), ToWide(root_->StyleFile("B.zas")), ToWide(target)};
            Button(*editor, QStringLiteral("Save ..."))->click();
            driven = true;
        });
        Button(manager, QStringLiteral("New ..."))->click();
        QVERIFY(driven);
        const QStringList asked = prompter_->TakeTexts();
        QCOMPARE(asked.size(), 4);
        QCOMPARE(asked.mid(0, 3), QStringList({QStringLiteral("Cannot Open Project File"),
                                               QStringLiteral("The style B.zas is saved in this file. Do you want to replace it ?"),
                                               QStringLiteral("The style A.zas is saved in this file. Do you want to replace it ?")}));
        QVERIFY(asked[3].startsWith(QStringLiteral("Style creation complete\n\n")));
        QVERIFY(asked[3].contains(ToWide(missing) + QStringLiteral(" (No such file or directory)")));
        QVERIFY(asked[3].contains(QStringLiteral("New Game will not find games for it")));
        QCOMPARE(app.Styles().At(0)->FullPath(), target);
        QCOMPARE(app.Styles().At(1)->FileName(), std::string("B.zas"));
        auto* list = manager.findChild<QListWidget*>(QStringLiteral("Styles"));
        QCOMPARE(list->count(), 2);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("Mine\t2\t")));
        QCOMPARE(list->currentRow(), 0);
    }
};

} // namespace pelorin

QTEST_MAIN(pelorin::StyleWindowsTest)
#include "StyleWindowsTest.moc"
