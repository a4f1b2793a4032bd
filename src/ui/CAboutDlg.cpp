#include "ui/CAboutDlg.h"

#include "ui/DialogUnits.h"
#include "ui/Pictures.h"

#include <QLabel>
#include <QPushButton>

namespace pelorin {

namespace {
constexpr QSize kSize = DialogSize(213, 161);
constexpr QRect kLogo = DialogRect(7, 6, 199, 65);
constexpr QRect kName = DialogRect(7, 76, 199, 12);
constexpr QRect kData = DialogRect(7, 92, 199, 42);
constexpr QRect kOk = DialogRect(156, 140, 50, 14);
} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Pelorin"));
    setFixedSize(kSize);
    AddLogo(this, kLogo);
    auto* name = new QLabel(QStringLiteral("Pelorin, version " PELORIN_VERSION), this);
    name->setGeometry(kName);
    name->setAlignment(Qt::AlignCenter);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    auto* sources = new QLabel(QStringLiteral("Words and clues come from WordNet 3.0 (Princeton University, 2006); "
                                           "hints from the King James Bible and the fortune collections, or "
                                           "from the books of your own styles."),
                            this);
    sources->setGeometry(kData);
    sources->setWordWrap(true);
    sources->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(kOk);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace pelorin
