#include "options/TOptionsForm.h"

TOptionsForm::TOptionsForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("   Options"));
}
