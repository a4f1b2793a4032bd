#pragma once

#include <QUrl>
#include <QWidget>

#include <string_view>

class QTextBrowser;

namespace pelorin {

/// The help file's name; its pages are compiled into the program under it.
inline constexpr std::string_view kHelpFile = "Mirel.chm";
/// The tutorial topic, as the help commands name it.
inline constexpr std::string_view kTutorialTopic = "Mirel.chm::/tutorial.htm";

/// The program's help window: one page of the help file at a time, with its links,
/// Back and Forward, and Contents to return to the first page.
class HelpWindow final : public QWidget {
    Q_OBJECT

public:
    HelpWindow();

    void Show(const QUrl& page);
    QUrl Page() const;

private:
    QTextBrowser* browser_;
};

/// Shows a topic of the help file ("Mirel.chm" for its contents page,
/// "Mirel.chm::/tutorial.htm" for a page of it) in the help window, and returns
/// the window; null when the file or the page does not exist. The window is made
/// on first use and kept for the rest of the run.
HelpWindow* OpenHelp(std::string_view fileAndTopic);

} // namespace pelorin
