#include "ui/CluesTabCtrl.h"

#include "app/AppData.h"
#include "game/ClueText.h"
#include "game/PlayState.h"

#include <QBrush>
#include <QColor>
#include <QListWidget>
#include <QSignalBlocker>

namespace pelorin {

CluesTab::CluesTab(AppData& app, Direction direction, QWidget* parent)
    : ListPage(parent), app_(app), direction_(direction)
{
    List()->setObjectName(direction == kAcross ? QStringLiteral("AcrossList") : QStringLiteral("DownList"));
    connect(List(), &QListWidget::currentRowChanged, this, &CluesTab::ChooseLine);
}

void CluesTab::Fill()
{
    // Filling is no choice of the player's: the selected entry stays as it is.
    const QSignalBlocker blocker(List());
    List()->clear();
    for (const Entry* entry : app_.CurrentGame().List(direction_))
        AddLine(ClueLine(*entry), ClueText(*entry));
    if (direction_ == kAcross && List()->count() > 0)
        List()->setCurrentRow(0);
}

void CluesTab::ChooseFirst()
{
    app_.selectedEntry = app_.CurrentGame().List(direction_).At(0);
    Q_EMIT EntryChosen();
    const QSignalBlocker blocker(List());
    List()->setCurrentRow(app_.selectedEntry ? 0 : -1);
}

void CluesTab::ShowLine(int line)
{
    const QSignalBlocker blocker(List());
    List()->setCurrentRow(line);
    if (QListWidgetItem* item = List()->currentItem())
        List()->scrollToItem(item);
}

void CluesTab::ShowMarks()
{
    const ItemList<Entry>& entries = app_.CurrentGame().List(direction_);
    for (int line = 0; line < List()->count() && line < entries.Count(); ++line) {
        const int32_t wrong = CountMarkedWrong(*entries.At(line));
        QListWidgetItem* item = List()->item(line);
        item->setBackground(wrong > 0 ? QBrush(QColor(0xF6, 0xC9, 0xC4)) : QBrush());
        item->setData(Qt::AccessibleDescriptionRole,
                      wrong > 0 ? QStringLiteral("%1 letters marked wrong").arg(wrong) : QString());
    }
}

void CluesTab::ChooseLine(int line)
{
    app_.selectedEntry = app_.CurrentGame().List(direction_).At(line);
    Q_EMIT EntryChosen();
}

CluesTabCtrl::CluesTabCtrl(AppData& app, QWidget* parent)
    : QTabWidget(parent), across_(new CluesTab1(app, this)), down_(new CluesTab2(app, this))
{
    addTab(across_, QStringLiteral("Across"));
    addTab(down_, QStringLiteral("Down"));
    connect(across_, &CluesTab::EntryChosen, this, &CluesTabCtrl::EntryChosen);
    connect(down_, &CluesTab::EntryChosen, this, &CluesTabCtrl::EntryChosen);
    connect(this, &QTabWidget::currentChanged, this, [this](int tab) {
        Page(tab == 0 ? kAcross : kDown).ChooseFirst();
    });
}

CluesTab& CluesTabCtrl::Page(Direction direction) const
{
    if (direction == kAcross)
        return *across_;
    return *down_;
}

void CluesTabCtrl::ShowEntry(const Entry* entry)
{
    if (!entry)
        return;
    const auto direction = static_cast<Direction>(entry->direction);
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(direction == kAcross ? 0 : 1);
    }
    Page(direction).ShowLine(static_cast<int>(entry->index));
    Page(direction == kAcross ? kDown : kAcross).ShowLine(-1);
}

void CluesTabCtrl::ShowMarks()
{
    across_->ShowMarks();
    down_->ShowMarks();
}

void CluesTabCtrl::Fill()
{
    across_->Fill();
    down_->Fill();
    const QSignalBlocker blocker(this);
    setCurrentIndex(0);
}

} // namespace pelorin
