#include "main_window/transcript/SaveFileDialog.h"

#include <QFileDialog>

#include <optional>
#include <utility>

namespace {

std::optional<QString> &nextFileName()
{
    static std::optional<QString> answer;
    return answer;
}

} // namespace

QString SaveFileDialog::getSaveFileName(QWidget *parent)
{
    if (std::optional<QString> answer = std::exchange(nextFileName(), std::nullopt))
        return *answer;

    QFileDialog dialog(parent);
    configure(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void SaveFileDialog::setNextFileName(const QString &fileName)
{
    nextFileName() = fileName;
}

void SaveFileDialog::configure(QFileDialog &dialog)
{
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    // Overwriting asks first, and the dialog is not read-only: both are the defaults, kept
    // explicit so nobody turns them on by accident.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setSizeGripEnabled(true);
}
