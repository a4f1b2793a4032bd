#include "ui/StyleDialog.h"

#include "app/AppData.h"
#include "app/TextConvert.h"
#include "foundation/Notifier.h"
#include "foundation/TextUtil.h"
#include "game/GridFiller.h"
#include "lexicon/Style.h"
#include "lexicon/StyleList.h"
#include "ui/DialogUnits.h"
#include "ui/Prompter.h"
#include "ui/StyleBuildThread.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>

namespace pelorin {

namespace {

constexpr QSize kSize = DialogSize(244, 182);
// Wider than the layout's 44 units, up to the edit: the label shows whole in the
// program's font.
constexpr QRect kDescriptionLabel = DialogRect(9, 10, 49, 10);
constexpr QRect kDescription = DialogRect(59, 8, 178, 15);
constexpr QRect kBooksLabel = DialogRect(10, 34, 50, 8);
constexpr QRect kBooks = DialogRect(7, 46, 230, 109);
constexpr QRect kAdd = DialogRect(131, 30, 50, 14);
constexpr QRect kRemove = DialogRect(187, 30, 50, 14);
constexpr QRect kProgress = DialogRect(7, 160, 119, 15);
constexpr QRect kSave = DialogRect(133, 160, 50, 14);
constexpr QRect kCancel = DialogRect(187, 160, 50, 14);

// The edit takes what the dialog reads of it; the byte limit is checked on Save.
constexpr int kDescriptionCharacters = 256;

const QString kCaption = QStringLiteral("Pelorin");
const QString kErrorCaption = QStringLiteral("Error");
const QString kBookFilter = QStringLiteral("txt Files (*.txt);;All Files (*.*)");
const QString kStyleFilter = QStringLiteral("zas Files (*.zas);;All Files (*.*)");
const QString kStyleSuffix = QStringLiteral("zas");
constexpr const char* kBooksFolder = "Books";

// A style as the player knows it: by its description, or its file's name where
// it has none.
QString NameOf(const Style& style)
{
    const std::string_view description = TextOf(style.Description());
    return ToWide(description.empty() ? std::string_view(style.FileName()) : description);
}

} // namespace

StyleDialog::StyleDialog(AppData& app, Prompter& prompter, QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter), description_(new QLineEdit(this)),
      books_(new QListWidget(this)), add_(new QPushButton(QStringLiteral("Add..."), this)),
      remove_(new QPushButton(QStringLiteral("Remove..."), this)),
      save_(new QPushButton(QStringLiteral("Save ..."), this)), progress_(new QProgressBar(this)),
      builder_(new StyleBuildThread(this))
{
    setWindowTitle(QStringLiteral("Create Style"));
    setFixedSize(kSize);

    auto* descriptionLabel = new QLabel(QStringLiteral("Description:"), this);
    descriptionLabel->setGeometry(kDescriptionLabel);
    description_->setGeometry(kDescription);
    description_->setObjectName(QStringLiteral("Description"));
    description_->setMaxLength(kDescriptionCharacters);
    auto* booksLabel = new QLabel(QStringLiteral("Books:"), this);
    booksLabel->setGeometry(kBooksLabel);
    books_->setGeometry(kBooks);
    books_->setObjectName(QStringLiteral("Books"));
    add_->setGeometry(kAdd);
    remove_->setGeometry(kRemove);
    remove_->setEnabled(false);

    progress_->setGeometry(kProgress);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setFormat(QStringLiteral("%v of %m books"));
    progress_->hide();

    save_->setGeometry(kSave);
    save_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(kCancel);
    cancel->setObjectName(QStringLiteral("Cancel"));

    connect(add_, &QPushButton::clicked, this, &StyleDialog::AddBook);
    connect(remove_, &QPushButton::clicked, this, &StyleDialog::RemoveBook);
    connect(save_, &QPushButton::clicked, this, &StyleDialog::Save);
    connect(cancel, &QPushButton::clicked, this, &StyleDialog::reject);
    connect(builder_, &StyleBuildThread::Progress, this,
            [this](int done, int count, const QString&) { ShowProgress(done, count); });
    connect(builder_, &StyleBuildThread::Finished, this, &StyleDialog::BuildFinished);
}

StyleDialog::~StyleDialog() = default;

std::unique_ptr<Style> StyleDialog::TakeStyle()
{
    return result() == Accepted ? std::move(style_) : nullptr;
}

bool StyleDialog::Building() const
{
    return builder_->Running();
}

void StyleDialog::reject()
{
    if (Building()) {
        builder_->Cancel();
        return;
    }
    QDialog::reject();
}

void StyleDialog::AddBook()
{
    const QString chosen =
        prompter_.OpenFileName(this, ToWide(JoinPath(app_.RootFolder(), kBooksFolder)), kBookFilter);
    if (!chosen.isEmpty() && books_->findItems(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive).isEmpty())
        books_->addItem(chosen);
    UpdateRemove();
}

void StyleDialog::RemoveBook()
{
    delete books_->currentItem();
    UpdateRemove();
}

void StyleDialog::UpdateRemove()
{
    remove_->setEnabled(books_->count() > 0);
}

std::vector<std::string> StyleDialog::BookPaths() const
{
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(books_->count()));
    for (int i = 0; i < books_->count(); ++i)
        paths.push_back(ToNarrow(books_->item(i)->text()));
    return paths;
}

void StyleDialog::Save()
{
    std::string description = ToNarrow(description_->text());
    const StyleBuildStatus input = CheckStyleInput(description, static_cast<size_t>(books_->count()));
    if (input != StyleBuildStatus::Built) {
        prompter_.Ask(this, ToWide(StyleInputMessage(input)), kErrorCaption, Prompter::Buttons::Ok,
                      Prompter::Icon::None);
        return;
    }
    if (!ChooseFile())
        return;
    StartBuild(std::move(description));
}

bool StyleDialog::ChooseFile()
{
    const QString folder = ToWide(app_.StylesFolder());
    for (;;) {
        // No replace question of the dialog's own: a listed style's file gets the
        // question below, and any other file is replaced as the style is saved.
        const QString chosen = prompter_.SaveFileName(this, folder, kStyleFilter, kStyleSuffix, false);
        if (chosen.isEmpty())
            return false;
        const std::string path = ToNarrow(chosen);
        const ItemList<Style>& styles = app_.Styles();
        // Two styles on one file would share their prepared games, and deleting
        // one would delete the other's file: the new style takes the old one's place.
        const int32_t same = FindStyleFile(styles, path);
        if (same >= 0) {
            const QString question = QStringLiteral("The style %1 is saved in this file. Do you want to replace it ?")
                                         .arg(NameOf(*styles.At(same)));
            if (prompter_.Ask(this, question, kCaption, Prompter::Buttons::YesNo, Prompter::Icon::Exclamation) !=
                Prompter::Answer::Yes)
                continue;
        } else if (const int32_t named = FindStyleName(styles, path); named >= 0) {
            // Styles are told apart by their file names; another folder is no help.
            prompter_.Ask(this,
                          QStringLiteral("The style %1 has this file name already. Please choose another name.")
                              .arg(NameOf(*styles.At(named))),
                          kCaption, Prompter::Buttons::Ok, Prompter::Icon::None);
            continue;
        }
        path_ = path;
        replaced_ = same;
        return true;
    }
}

void StyleDialog::StartBuild(std::string description)
{
    std::vector<std::string> books = BookPaths();
    progress_->setRange(0, static_cast<int>(books.size()));
    progress_->setValue(0);
    if (!builder_->Start(app_.Lexicon(), std::move(description), std::move(books)))
        return;
    SetBuilding(true);
}

void StyleDialog::ShowProgress(int booksDone, int bookCount)
{
    progress_->setMaximum(bookCount);
    progress_->setValue(booksDone);
    // The book being read stands out in the list.
    if (QListWidgetItem* book = books_->item(booksDone)) {
        books_->setCurrentItem(book);
        books_->scrollToItem(book);
    }
}

void StyleDialog::SetBuilding(bool building)
{
    for (QWidget* control : {static_cast<QWidget*>(description_), static_cast<QWidget*>(books_),
                             static_cast<QWidget*>(add_), static_cast<QWidget*>(save_)})
        control->setEnabled(!building);
    remove_->setEnabled(!building && books_->count() > 0);
    progress_->setVisible(building);
}

void StyleDialog::BuildFinished()
{
    StyleBuildResult built = builder_->TakeResult();
    SetBuilding(false);
    // A cancelled build leaves nothing behind: no style and no file.
    if (built.status != StyleBuildStatus::Built)
        return;
    style_ = std::move(built.style);
    unread_ = std::move(built.unread);
    if (!SaveBuilt()) {
        style_.reset();
        return;
    }
    ShowCompletion();
    accept();
}

bool StyleDialog::SaveBuilt()
{
    // A style that is not on disk would have no file name, and every such style
    // would share the same prepared games: it is saved, or it is not taken.
    // SaveFile tells the player why it failed.
    while (!style_->SaveFile(path_)) {
        if (!ChooseFile())
            return false;
    }
    return true;
}

void StyleDialog::ShowCompletion()
{
    std::string text = "Style creation complete";
    if (!unread_.empty()) {
        text += "\n\nThese books could not be read:";
        for (const UnreadBook& book : unread_)
            text += Format("\n%s (%s)", book.path.c_str(), book.reason.c_str());
    }
    if (style_->Words().Count() < kFewestWordsForGames)
        text += Format("\n\nThis style has only %ld words, too few to fill a block pattern: New Game will not "
                       "find games for it.",
                       static_cast<long>(style_->Words().Count()));
    prompter_.Ask(this, ToWide(text), QString(), Prompter::Buttons::Ok, Prompter::Icon::None);
}

} // namespace pelorin
