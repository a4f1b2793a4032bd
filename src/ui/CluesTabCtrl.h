#pragma once

#include "game/Game.h"
#include "ui/ListPage.h"

#include <QTabWidget>

namespace pelorin {

class AppData;

/// The clues of one direction of the current game, one line per entry in the
/// order of the game's entry list. Choosing a line makes its entry the selected
/// entry.
class CluesTab : public ListPage {
    Q_OBJECT

public:
    CluesTab(AppData& app, Direction direction, QWidget* parent);

    /// Rebuilds the lines from the current game. The Across page selects its first
    /// line (without choosing it: the caller has set the selected entry); the Down
    /// page selects none.
    void Fill();
    /// Makes this direction's first entry the selected entry (none when there is
    /// none), announces it and selects its line.
    void ChooseFirst();
    /// Selects and scrolls to an entry's line (none for -1) without choosing it.
    void ShowLine(int line);
    /// Tints the lines of entries with letters a check marked wrong.
    void ShowMarks();

Q_SIGNALS:
    /// The selected entry changed through this page.
    void EntryChosen();

private:
    void ChooseLine(int line);

    AppData& app_;
    Direction direction_;
};

/// The Across page.
class CluesTab1 final : public CluesTab {
public:
    CluesTab1(AppData& app, QWidget* parent) : CluesTab(app, kAcross, parent) {}
};

/// The Down page.
class CluesTab2 final : public CluesTab {
public:
    CluesTab2(AppData& app, QWidget* parent) : CluesTab(app, kDown, parent) {}
};

/// The Across and Down tabs. Switching tabs selects the first entry of the new
/// direction.
class CluesTabCtrl final : public QTabWidget {
    Q_OBJECT

public:
    CluesTabCtrl(AppData& app, QWidget* parent);

    /// Refills both pages from the current game and shows the Across page, where
    /// the game's first entry is.
    void Fill();

    CluesTab& Page(Direction direction) const;
    /// Shows the entry as if it had been chosen here: its direction's tab, its line
    /// selected and in view, no line on the other page. Nothing is announced.
    void ShowEntry(const Entry* entry);
    /// Tints the lines of entries with letters a check marked wrong, on both pages.
    void ShowMarks();

Q_SIGNALS:
    void EntryChosen();

private:
    CluesTab1* across_;
    CluesTab2* down_;
};

} // namespace pelorin
