#pragma once

#include <QStyledItemDelegate>

#include <vector>

namespace pelorin {

/// Draws a list line that holds tab characters with each part starting at the
/// next tab stop (pixels from the text's left edge), as list boxes with tab stops
/// do. A part that reaches past the last stop follows the text before it; the last
/// part is cut with an ellipsis where the line ends.
class TabStopDelegate final : public QStyledItemDelegate {
public:
    TabStopDelegate(std::vector<int> stops, QObject* parent);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    /// The position of the part after a tab that follows text ending at `x`.
    int NextStop(int x) const;

private:
    std::vector<int> stops_;
};

} // namespace pelorin
