#include "ui/ListPage.h"

#include "app/TextConvert.h"
#include "game/ClueText.h"
#include "ui/DialogUnits.h"
#include "ui/TabStopDelegate.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace pelorin {

namespace {
// The list sits 3 dialog units inside its page.
constexpr int kListMargin = 3;
constexpr int kFirstTabStop = 15;
constexpr int kSecondTabStop = 50;
} // namespace

ListPage::ListPage(QWidget* parent) : QWidget(parent), list_(new QListWidget(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(DialogX(kListMargin), DialogY(kListMargin), DialogX(kListMargin),
                               DialogY(kListMargin));
    layout->addWidget(list_);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setItemDelegate(new TabStopDelegate({DialogX(kFirstTabStop), DialogX(kSecondTabStop)}, list_));
}

void ListPage::AddLine(std::string_view line, std::string_view tip)
{
    auto* item = new QListWidgetItem(ToWide(line), list_);
    item->setToolTip(ToWide(tip));
}

void ListPage::SetNumberedLines(const std::vector<std::string_view>& texts)
{
    list_->clear();
    int32_t number = 1;
    for (const std::string_view text : texts)
        AddLine(NumberedLine(number++, text), text);
}

} // namespace pelorin
