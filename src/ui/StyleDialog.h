#pragma once

#include "lexicon/StyleBuilder.h"

#include <QDialog>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace pelorin {

class AppData;
class Prompter;
class Style;
class StyleBuildThread;

/// Create Style: the player names a style and picks its books, and Save builds it
/// and saves it as a style file. The build runs on a thread of its own with a
/// progress bar, and Cancel stops it; the dialog's other controls wait meanwhile.
///
/// The dialog ends with OK only once the style has been built and saved; the style
/// manager then takes the style, into a new line or, when the player chose to save
/// over a listed style's file, in that style's place.
class StyleDialog final : public QDialog {
    Q_OBJECT

public:
    StyleDialog(AppData& app, Prompter& prompter, QWidget* parent);
    ~StyleDialog() override;

    /// The style built and saved, once the dialog ended with OK; null before.
    std::unique_ptr<Style> TakeStyle();
    /// The index of the listed style whose file the new style was saved over, or -1.
    int32_t ReplacedIndex() const { return replaced_; }
    bool Building() const;

    /// Cancel: stops a running build and stays open; otherwise closes the dialog.
    void reject() override;

private:
    void AddBook();
    void RemoveBook();
    void Save();
    /// Asks for the file to save to until the player picks one that may take the
    /// style, or cancels (false).
    bool ChooseFile();
    void StartBuild(std::string description);
    void ShowProgress(int booksDone, int bookCount);
    void BuildFinished();
    /// Saves the built style, asking for another file while that fails; true when
    /// it was saved.
    bool SaveBuilt();
    void ShowCompletion();
    void SetBuilding(bool building);
    void UpdateRemove();
    std::vector<std::string> BookPaths() const;

    AppData& app_;
    Prompter& prompter_;
    QLineEdit* description_;
    QListWidget* books_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* save_;
    QProgressBar* progress_;
    StyleBuildThread* builder_;
    std::string path_;
    int32_t replaced_ = -1;
    std::unique_ptr<Style> style_;
    std::vector<UnreadBook> unread_;
};

} // namespace pelorin
