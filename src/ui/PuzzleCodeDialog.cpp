#include "ui/PuzzleCodeDialog.h"

#include "app/TextConvert.h"
#include "ui/DialogUnits.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace pelorin {

namespace {
constexpr QSize kSize = DialogSize(234, 122);
constexpr QRect kCurrentLabel = DialogRect(7, 7, 220, 10);
constexpr QRect kCurrent = DialogRect(7, 19, 163, 13);
constexpr QRect kCopy = DialogRect(177, 19, 50, 13);
constexpr QRect kTypedLabel = DialogRect(7, 42, 220, 10);
constexpr QRect kTyped = DialogRect(7, 54, 220, 13);
constexpr QRect kRefusal = DialogRect(7, 70, 220, 30);
constexpr QRect kMake = DialogRect(121, 102, 50, 14);
constexpr QRect kCancel = DialogRect(177, 102, 50, 14);
} // namespace

PuzzleCodeDialog::PuzzleCodeDialog(const std::string& current, Make make, QWidget* parent)
    : QDialog(parent), make_(std::move(make))
{
    setWindowTitle(QStringLiteral("Puzzle Code"));
    setFixedSize(kSize);

    auto* currentLabel = new QLabel(QStringLiteral("The code of this puzzle:"), this);
    currentLabel->setGeometry(kCurrentLabel);
    auto* shown = new QLineEdit(this);
    shown->setObjectName(QStringLiteral("CurrentCode"));
    shown->setGeometry(kCurrent);
    shown->setReadOnly(true);
    shown->setText(ToWide(current));
    shown->setPlaceholderText(QStringLiteral("none (not made from a seed)"));
    currentLabel->setBuddy(shown);
    auto* copy = new QPushButton(QStringLiteral("&Copy"), this);
    copy->setGeometry(kCopy);
    copy->setEnabled(!current.empty());
    connect(copy, &QPushButton::clicked, this, [shown] { QApplication::clipboard()->setText(shown->text()); });

    auto* typedLabel = new QLabel(QStringLiteral("Make the puzzle of a &code:"), this);
    typedLabel->setGeometry(kTypedLabel);
    typed_ = new QLineEdit(this);
    typed_->setObjectName(QStringLiteral("TypedCode"));
    typed_->setGeometry(kTyped);
    typed_->setPlaceholderText(QStringLiteral("Quotations-3F0A-2-1K9ZQ"));
    typedLabel->setBuddy(typed_);
    refusal_ = new QLabel(this);
    refusal_->setObjectName(QStringLiteral("Refusal"));
    refusal_->setGeometry(kRefusal);
    refusal_->setWordWrap(true);
    refusal_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    refusal_->setStyleSheet(QStringLiteral("color: #b00000"));

    auto* makeButton = new QPushButton(QStringLiteral("&Make"), this);
    makeButton->setGeometry(kMake);
    makeButton->setDefault(true);
    makeButton->setEnabled(false);
    connect(typed_, &QLineEdit::textChanged, this, [makeButton, this](const QString& text) {
        makeButton->setEnabled(!text.trimmed().isEmpty());
        refusal_->clear();
    });
    connect(makeButton, &QPushButton::clicked, this, &PuzzleCodeDialog::MakeTyped);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(kCancel);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    typed_->setFocus();
}

void PuzzleCodeDialog::MakeTyped()
{
    std::string reason;
    if (make_(ToNarrow(typed_->text()), reason)) {
        accept();
        return;
    }
    refusal_->setText(ToWide(reason));
}

} // namespace pelorin
