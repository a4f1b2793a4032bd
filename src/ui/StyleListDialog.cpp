#include "ui/StyleListDialog.h"

#include "app/AppData.h"
#include "app/TextConvert.h"
#include "foundation/Notifier.h"
#include "lexicon/Style.h"
#include "ui/DialogUnits.h"
#include "ui/Prompter.h"
#include "ui/StyleDialog.h"
#include "ui/TabStopDelegate.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <array>
#include <utility>

namespace pelorin {

namespace {

// 30 units wider than the layout's 246, with the list and the buttons: the status
// column, at its tab stop of 165 units, holds "Processing 3 Games" whole in the
// program's font, which is wider than the 8-point font the layout was drawn for.
constexpr int kWider = 30;
constexpr QSize kSize = DialogSize(246 + kWider, 142);
constexpr std::array<std::pair<const char*, QRect>, 4> kHeadings = {{
    {"Description", DialogRect(7, 7, 47, 9)},
    {"Books", DialogRect(107, 7, 26, 9)}, // wider than drawn, for the same font
    {"Words", DialogRect(134, 7, 31, 9)},
    {"Status", DialogRect(174, 7, 47, 9)},
}};
constexpr QRect kList = DialogRect(7, 16, 232 + kWider, 99);
constexpr QRect kNew = DialogRect(73 + kWider, 120, 54, 15);
constexpr QRect kDelete = DialogRect(131 + kWider, 120, 54, 15);
constexpr QRect kClose = DialogRect(189 + kWider, 121, 50, 14);
// The columns of a line start at these dialog units from its left edge.
constexpr std::array<int, 3> kTabStops = {100, 125, 165};

const QString kCaption = QStringLiteral("Pelorin");

// "Description\tBooks\tWords\tStatus".
std::string StyleLine(const Style& style, int32_t running)
{
    const std::string status =
        running == 0 ? std::string("Ready") : Format("Processing %ld Games", static_cast<long>(running));
    const std::string description(TextOf(style.Description()));
    return Format("%s\t%ld\t%ld\t%s", description.c_str(), static_cast<long>(style.Books().Count()),
                  static_cast<long>(style.Words().Count()), status.c_str());
}

} // namespace

StyleListDialog::StyleListDialog(AppData& app, Prompter& prompter, QWidget* parent)
    : QDialog(parent), app_(app), prompter_(prompter), list_(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Styles"));
    setFixedSize(kSize);

    for (const auto& [text, rect] : kHeadings) {
        auto* heading = new QLabel(QString::fromLatin1(text), this);
        heading->setGeometry(rect);
    }
    list_->setGeometry(kList);
    list_->setObjectName(QStringLiteral("Styles"));
    list_->setItemDelegate(
        new TabStopDelegate({DialogX(kTabStops[0]), DialogX(kTabStops[1]), DialogX(kTabStops[2])}, list_));

    auto* newButton = new QPushButton(QStringLiteral("New ..."), this);
    newButton->setGeometry(kNew);
    auto* deleteButton = new QPushButton(QStringLiteral("Delete"), this);
    deleteButton->setGeometry(kDelete);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setGeometry(kClose);
    connect(newButton, &QPushButton::clicked, this, &StyleListDialog::NewStyle);
    connect(deleteButton, &QPushButton::clicked, this, &StyleListDialog::DeleteStyle);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    Refresh();
    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &StyleListDialog::Tick);
    // The timer stops with the dialog, whichever way it ends.
    connect(this, &QDialog::finished, &timer_, &QTimer::stop);
    timer_.start();
}

int32_t StyleListDialog::BusyTotal() const
{
    int32_t total = 0;
    for (const Style* style : app_.Styles())
        total += app_.RunningWorkers(*style);
    return total;
}

void StyleListDialog::Refresh()
{
    list_->clear();
    // The total is the one the lines show, so that a worker that starts or ends
    // while they are made shows at the next tick.
    int32_t total = 0;
    for (const Style* style : app_.Styles()) {
        const int32_t running = app_.RunningWorkers(*style);
        total += running;
        list_->addItem(ToWide(StyleLine(*style, running)));
    }
    lastBusyTotal_ = total;
    Q_EMIT Refreshed();
}

void StyleListDialog::Tick()
{
    if (BusyTotal() == lastBusyTotal_)
        return;
    const int selected = list_->currentRow();
    Refresh();
    list_->setCurrentRow(selected);
}

void StyleListDialog::NewStyle()
{
    StyleDialog editor(app_, prompter_, this);
    if (editor.exec() != QDialog::Accepted)
        return;
    std::unique_ptr<Style> style = editor.TakeStyle();
    if (!style)
        return;
    if (editor.ReplacedIndex() >= 0)
        app_.ReplaceStyle(editor.ReplacedIndex(), std::move(style));
    else
        app_.AddStyle(std::move(style));
    // Shown at once, selected: the workers the new style starts may end before
    // the next tick, which would then see no change.
    const int32_t row = editor.ReplacedIndex() >= 0 ? editor.ReplacedIndex() : app_.Styles().Count() - 1;
    Refresh();
    list_->setCurrentRow(row);
}

void StyleListDialog::DeleteStyle()
{
    const QList<QListWidgetItem*> chosen = list_->selectedItems();
    if (chosen.isEmpty())
        return;
    const int selected = list_->row(chosen.first());
    const Style* style = app_.Styles().At(selected);
    if (style && app_.IsShippedStyle(*style)) {
        prompter_.Ask(this, QStringLiteral("This style comes with the game and cannot be deleted."), kCaption,
                      Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return;
    }
    if (prompter_.Ask(this, QStringLiteral("Style file will be permanently deleted. Are you sure ?"), kCaption,
                      Prompter::Buttons::YesNo, Prompter::Icon::None) != Prompter::Answer::Yes)
        return;
    app_.DeleteStyle(selected);
    Refresh();
    list_->setCurrentRow(-1);
}

} // namespace pelorin
