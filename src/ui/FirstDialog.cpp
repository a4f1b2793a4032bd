#include "ui/FirstDialog.h"

#include "ui/DialogUnits.h"
#include "ui/HelpWindow.h"
#include "ui/Pictures.h"

#include <QLabel>
#include <QPushButton>

namespace pelorin {

namespace {
constexpr QSize kSize = DialogSize(212, 132);
constexpr QRect kLogo = DialogRect(6, 6, 199, 65);
constexpr QRect kText = DialogRect(7, 78, 198, 32);
constexpr QRect kShowTutorial = DialogRect(7, 111, 81, 14);
constexpr QRect kClose = DialogRect(155, 111, 50, 14);
} // namespace

FirstDialog::FirstDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Pelorin"));
    setFixedSize(kSize);
    AddLogo(this, kLogo);
    auto* text = new QLabel(QStringLiteral("If you are new to Pelorin you might want to take the introductory "
                                           "tutorial. Just press the button below. You can access this "
                                           "tutorial at any time from the help menu."),
                            this);
    text->setGeometry(kText);
    text->setWordWrap(true);
    auto* showTutorial = new QPushButton(QStringLiteral("Show Tutorial"), this);
    showTutorial->setGeometry(kShowTutorial);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setGeometry(kClose);
    close->setDefault(true);
    connect(showTutorial, &QPushButton::clicked, this, &FirstDialog::ShowTutorial);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void FirstDialog::reject()
{
    ShowTutorial();
}

void FirstDialog::ShowTutorial()
{
    OpenHelp(kTutorialTopic);
    QDialog::reject();
}

} // namespace pelorin
