#pragma once

#include <QColor>
#include <QFont>
#include <QSize>
#include <QString>

class QAbstractScrollArea;
class QLabel;
class QWidget;

// Sizes, fonts and colours of the main window, at 96 pixels per inch.
namespace MainWindowLayout {

// The outer 500 x 330 of the classic frame (4-pixel borders, 26-pixel caption) leaves this
// client area; the minimum outer 300 x 300 likewise.
inline constexpr QSize ClientSize{492, 296};
inline constexpr QSize MinimumClientSize{292, 266};
inline constexpr int InputBarHeight = 26;
inline constexpr int StatusBarHeight = 22;
inline constexpr int StationPanelWidth = 244;

QFont windowFont();   // "MS Sans Serif" 8 pt
QFont controlFont();  // "MS Sans Serif" 10 pt
QFont statusFont();   // "MS Sans Serif" 10 pt bold

// A system colour from the application's current palette.
QColor systemColor(const char *identifier);

QLabel *createStatusLabel(const QString &objectName, QWidget *parent);
// The same look for a label of a QLabel subclass.
void setUpStatusLabel(QLabel &label, const QString &objectName);
void setLabelColors(QLabel &label, const QColor &background, const QColor &text);
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

} // namespace MainWindowLayout
