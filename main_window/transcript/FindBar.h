#pragma once

#include "main_window/logic/TranscriptSearch.h"

#include <QFrame>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTextEdit;
class QToolButton;

// Finds text in the transcript: every match highlighted, the current one scrolled into view,
// "n of m" beside the field. Highlights are drawn over the text, so the lines' own formats,
// the caret and the saved text stay as they are.
class FindBar : public QFrame
{
    Q_OBJECT

public:
    // Escape hands the keyboard to returnFocus.
    FindBar(QTextEdit &transcript, QWidget &returnFocus, QWidget *parent = nullptr);

    // Ctrl+F, F3 and Shift+F3, for the whole window.
    void addShortcutsTo(QWidget &window);

    void open();
    void closeBar();
    void findNext();
    void findPrevious();

    const TranscriptSearch &search() const { return m_search; }
    // More matches than this are counted but not all highlighted, so drawing stays quick.
    static constexpr int MaximumHighlights = 1000;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void patternChanged();
    void transcriptChanged(int from);
    void showMatches(bool scrollToCurrent);
    void scrollToCurrent();
    int firstVisiblePosition() const;

    QTextEdit &m_transcript;
    QWidget &m_returnFocus;
    TranscriptSearch m_search;

    // Offers its clear button from the bar's first showing on.
    QLineEdit *m_field = nullptr;
    QToolButton *m_previous = nullptr;
    QToolButton *m_next = nullptr;
    QCheckBox *m_matchCase = nullptr;
    QLabel *m_count = nullptr;
    QToolButton *m_close = nullptr;
};
