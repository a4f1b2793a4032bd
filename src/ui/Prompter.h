#pragma once

#include <QString>

class QWidget;

namespace pelorin {

/// Everything the windows ask of the player: message boxes, questions and file
/// dialogs. The program shows Qt's dialogs; tests answer from a script.
class Prompter {
public:
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Icon { None, Exclamation };
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Prompter() = default;

    /// A message box over `owner` (or none); returns the button pressed. Closing
    /// the box counts as Cancel, or as No where there is no Cancel.
    virtual Answer Ask(QWidget* owner, const QString& text, const QString& caption, Buttons buttons,
                       Icon icon) = 0;
    /// The file to open, or empty when the player cancelled.
    virtual QString OpenFileName(QWidget* owner, const QString& folder, const QString& filter) = 0;
    /// The file to save to, or empty when the player cancelled. A name typed without
    /// an extension gets `defaultSuffix`. With `askToReplace` the dialog asks before
    /// an existing file is chosen; without it the caller decides.
    virtual QString SaveFileName(QWidget* owner, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix, bool askToReplace) = 0;
    /// The PDF file to export the game to, or empty when the player cancelled;
    /// `solution` starts as the dialog's check box for a solution page and ends as
    /// the player left it.
    virtual QString ExportFileName(QWidget* owner, const QString& folder, bool& solution) = 0;
};

/// The program's Prompter: Qt's message boxes and file dialogs.
class QtPrompter final : public Prompter {
public:
    Answer Ask(QWidget* owner, const QString& text, const QString& caption, Buttons buttons, Icon icon) override;
    QString OpenFileName(QWidget* owner, const QString& folder, const QString& filter) override;
    QString SaveFileName(QWidget* owner, const QString& folder, const QString& filter,
                         const QString& defaultSuffix, bool askToReplace) override;
    QString ExportFileName(QWidget* owner, const QString& folder, bool& solution) override;
};

} // namespace pelorin
