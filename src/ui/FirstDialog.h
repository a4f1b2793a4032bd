#pragma once

#include <QDialog>

namespace pelorin {

/// Offered once, on the first run: the tutorial. "Show Tutorial" opens it; so do
/// Escape and the close box. "Close" just closes.
class FirstDialog final : public QDialog {
    Q_OBJECT

public:
    explicit FirstDialog(QWidget* parent);

    /// Escape and the close box: the tutorial, then close.
    void reject() override;

private:
    void ShowTutorial();
};

} // namespace pelorin
