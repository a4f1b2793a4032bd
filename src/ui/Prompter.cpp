#include "ui/Prompter.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>

namespace pelorin {

namespace {

QMessageBox::StandardButtons ButtonsOf(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompter::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

Prompter::Answer AnswerOf(int button, Prompter::Buttons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return Prompter::Answer::Ok;
    case QMessageBox::Yes:
        return Prompter::Answer::Yes;
    case QMessageBox::No:
        return Prompter::Answer::No;
    default:
        break;
    }
    return buttons == Prompter::Buttons::YesNo ? Prompter::Answer::No : Prompter::Answer::Cancel;
}

} // namespace

Prompter::Answer QtPrompter::Ask(QWidget* owner, const QString& text, const QString& caption, Buttons buttons,
                                 Icon icon)
{
    QMessageBox box(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, caption, text,
                    ButtonsOf(buttons), owner);
    if (buttons != Buttons::Ok)
        box.setDefaultButton(QMessageBox::Yes);
    return AnswerOf(box.exec(), buttons);
}

QString QtPrompter::OpenFileName(QWidget* owner, const QString& folder, const QString& filter)
{
    return QFileDialog::getOpenFileName(owner, QStringLiteral("Open"), folder, filter);
}

QString QtPrompter::SaveFileName(QWidget* owner, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix, bool askToReplace)
{
    QFileDialog dialog(owner, QStringLiteral("Save As"), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !askToReplace);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPrompter::ExportFileName(QWidget* owner, const QString& folder, bool& solution)
{
    // Qt's own dialog, which takes a check box below its fields.
    QFileDialog dialog(owner, QStringLiteral("Export PDF"), folder, QStringLiteral("PDF Files (*.pdf)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    auto* solutionBox = new QCheckBox(QStringLiteral("Print the solution on a second page"), &dialog);
    solutionBox->setChecked(solution);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(solutionBox, grid->rowCount(), 0, 1, grid->columnCount());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    solution = solutionBox->isChecked();
    return dialog.selectedFiles().constFirst();
}

} // namespace pelorin
