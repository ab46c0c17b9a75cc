#pragma once

#include <QObject>

class QPushButton;
class QTextCursor;
class QTextEdit;
class QWidget;

// Keeps the operator's place in the transcript: at the end the view follows new lines; once
// scrolled up, new lines leave the view where it is and a bar at the transcript's bottom
// counts them ("3 new lines") until a click on it, or End, returns to the end.
class ReadingPosition : public QObject
{
    Q_OBJECT

public:
    explicit ReadingPosition(QTextEdit &transcript);

    // Puts the transcript's caret after an appended line. An own line returns the view to
    // the end, since the operator has just written it; a received one keeps a raised view.
    void showAppended(const QTextCursor &caret, bool ownLine);
    void returnToEnd();
    // Where the keyboard goes when the focused bar is used and hides.
    void setFocusAfterBar(QWidget *widget);

    bool isFollowing() const { return m_following; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setFollowing(bool following);
    void showBar();
    void placeBar();
    bool atEnd() const;

    QTextEdit &m_transcript;
    QPushButton *m_bar = nullptr;
    QWidget *m_focusAfterBar = nullptr;
    bool m_following = true;
    // Set while this class moves the view, so only the operator's scrolling decides.
    bool m_adjusting = false;
    int m_newLines = 0;
};
