#pragma once

#include <QWidget>

#include <string_view>
#include <vector>

class QListWidget;

namespace pelorin {

/// A page of the clue and hint tabs: one list whose lines are drawn at the tab
/// stops of 15 and 50 dialog units. Enter and Escape do nothing on it.
class ListPage : public QWidget {
public:
    explicit ListPage(QWidget* parent);

    QListWidget* List() const { return list_; }

    /// Replaces the lines with the texts numbered from 1, none selected.
    void SetNumberedLines(const std::vector<std::string_view>& texts);

protected:
    /// Adds a line; `tip` shows when the pointer rests on it, for a line too long
    /// to read whole.
    void AddLine(std::string_view line, std::string_view tip);

private:
    QListWidget* list_;
};

} // namespace pelorin
