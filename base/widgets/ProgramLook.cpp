#include "base/widgets/ProgramLook.h"

#include "base/FontSubstitutes.h"
#include "base/SystemColors.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>

namespace ProgramLook {

QFont windowFont()
{
    return outlineFont(QStringLiteral("MS Sans Serif"), 8);
}

QFont controlFont()
{
    return outlineFont(QStringLiteral("MS Sans Serif"), 10);
}

QFont statusFont()
{
    QFont font = controlFont();
    font.setBold(true);
    return font;
}

QColor systemColor(const char *identifier)
{
    return ::systemColor(QString::fromLatin1(identifier), QApplication::palette());
}

QLabel *createStatusLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    setUpStatusLabel(*label, objectName);
    return label;
}

void setUpStatusLabel(QLabel &label, const QString &objectName)
{
    label.setObjectName(objectName);
    // Call signs and station text come from the network: never rich text.
    label.setTextFormat(Qt::PlainText);
    label.setAlignment(Qt::AlignCenter);
    label.setFont(statusFont());
    label.setFrameStyle(QFrame::Panel | QFrame::Raised);
    label.setLineWidth(1);
    label.setAutoFillBackground(true);
}

void setLabelTextColor(QLabel &label, const QColor &text)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, text);
    label.setPalette(palette);
}

void keepSelectionVisible(QAbstractScrollArea &area)
{
    QPalette palette = area.palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    area.setPalette(palette);
}

} // namespace ProgramLook
