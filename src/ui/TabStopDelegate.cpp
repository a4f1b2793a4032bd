#include "ui/TabStopDelegate.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

namespace pelorin {

TabStopDelegate::TabStopDelegate(std::vector<int> stops, QObject* parent)
    : QStyledItemDelegate(parent), stops_(std::move(stops))
{
    std::sort(stops_.begin(), stops_.end());
}

int TabStopDelegate::NextStop(int x) const
{
    const auto stop = std::upper_bound(stops_.begin(), stops_.end(), x);
    return stop == stops_.end() ? x : *stop;
}

void TabStopDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QString text = item.text;
    // The style draws the background, selection and focus; the text is ours.
    item.text.clear();
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget).adjusted(2, 0, -2, 0);
    const bool selected = item.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    painter->save();
    painter->setFont(item.font);
    painter->setPen(item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
    const QFontMetrics metrics(item.font);
    const QStringList parts = text.split(QLatin1Char('\t'));
    int x = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            x = NextStop(x);
        const int room = area.width() - x;
        if (room <= 0)
            break;
        const QString shown = metrics.elidedText(parts[i], Qt::ElideRight, room);
        painter->drawText(QRect(area.left() + x, area.top(), room, area.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
        x += metrics.horizontalAdvance(parts[i]);
    }
    painter->restore();
}

} // namespace pelorin
