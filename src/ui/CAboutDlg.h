#pragma once

#include <QDialog>

namespace pelorin {

/// The About box: the logo, the program's name and version, and where its words
/// and hints come from.
class CAboutDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent);
};

} // namespace pelorin
