#pragma once

#include <QDialog>

#include <functional>
#include <string>

class QLabel;
class QLineEdit;

namespace pelorin {

/// Game, "Puzzle Code...": shows the code of the game in play, ready to copy, and
/// makes the puzzle of a code the player types. The dialog only asks; `make` does
/// the work and, when it refuses the code, gives the reason, which the dialog
/// shows under the box so that the player can mend the code.
class PuzzleCodeDialog final : public QDialog {
    Q_OBJECT
public:
    /// Makes the puzzle of a typed code; false with the reason when it did not.
    using Make = std::function<bool(const std::string& code, std::string& reason)>;

    /// `current` is the code of the game in play; empty when it has none.
    PuzzleCodeDialog(const std::string& current, Make make, QWidget* parent = nullptr);

private:
    void MakeTyped();

    Make make_;
    QLineEdit* typed_ = nullptr;
    QLabel* refusal_ = nullptr;
};

} // namespace pelorin
