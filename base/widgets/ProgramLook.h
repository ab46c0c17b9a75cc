#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QAbstractScrollArea;
class QLabel;
class QWidget;

// The fonts, colours and label styling every window of the program shares.
namespace ProgramLook {

QFont windowFont();   // "MS Sans Serif" 8 pt
QFont controlFont();  // "MS Sans Serif" 10 pt
QFont statusFont();   // "MS Sans Serif" 10 pt bold

// A system colour from the application's current palette.
QColor systemColor(const char *identifier);

QLabel *createStatusLabel(const QString &objectName, QWidget *parent);
// The same look for a label of a QLabel subclass.
void setUpStatusLabel(QLabel &label, const QString &objectName);
void setLabelTextColor(QLabel &label, const QColor &text);
// Keeps the selection drawn as when focused, also while another control has the focus.
void keepSelectionVisible(QAbstractScrollArea &area);

// A text view the operator reads but never types into (the transcript, the station panel):
// read-only, no undo history, its scroll bar always there, focused only by a click.
template<typename TextView>
void setUpReadingView(TextView &view)
{
    view.setReadOnly(true);
    view.setUndoRedoEnabled(false);
    view.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    view.setFocusPolicy(Qt::ClickFocus);
    view.setFont(controlFont());
    keepSelectionVisible(view);
}

} // namespace ProgramLook
