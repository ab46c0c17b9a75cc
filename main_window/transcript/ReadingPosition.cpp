#include "main_window/transcript/ReadingPosition.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTextEdit>

ReadingPosition::ReadingPosition(QTextEdit &transcript)
    : QObject(&transcript)
    , m_transcript(transcript)
    , m_bar(new QPushButton(&transcript))
{
    setObjectName(QStringLiteral("ReadingPosition"));
    m_bar->setObjectName(QStringLiteral("NewLinesBar"));
    m_bar->setAccessibleDescription(QStringLiteral("Lines that arrived while reading back; "
                                                   "activate to go to the newest line"));
    m_bar->setCursor(Qt::PointingHandCursor);
    // Reachable by Tab while shown, so returning to the end needs no mouse.
    m_bar->setFocusPolicy(Qt::TabFocus);
    m_bar->setAutoDefault(false);
    m_bar->setStyleSheet(QStringLiteral("QPushButton { background: #2b5797; color: white; border: none;"
                                        " border-top-left-radius: 3px; border-top-right-radius: 3px;"
                                        " padding: 1px 10px; font-weight: bold; }"
                                        " QPushButton:focus { background: #1d3d6b; }"));
    m_bar->hide();
    connect(m_bar, &QPushButton::clicked, this, &ReadingPosition::returnToEnd);

    QScrollBar *scroll = m_transcript.verticalScrollBar();
    connect(scroll, &QScrollBar::valueChanged, this, [this] {
        if (!m_adjusting)
            setFollowing(atEnd());
    });
    connect(scroll, &QScrollBar::rangeChanged, this, [this] {
        if (m_adjusting)
            return;
        if (m_following) {
            // The layout may grow after an append, or the window shrink: stay at the end.
            m_adjusting = true;
            m_transcript.verticalScrollBar()->setValue(m_transcript.verticalScrollBar()->maximum());
            m_adjusting = false;
        } else if (atEnd()) {
            setFollowing(true);
        }
    });
    m_transcript.installEventFilter(this);
}

void ReadingPosition::showAppended(const QTextCursor &caret, bool ownLine)
{
    QScrollBar *scroll = m_transcript.verticalScrollBar();
    if (ownLine)
        setFollowing(true);
    const int kept = scroll->value();
    m_adjusting = true;
    // The caret still moves to the end, as every append does; only the view is kept.
    m_transcript.setTextCursor(caret);
    scroll->setValue(m_following ? scroll->maximum() : kept);
    m_adjusting = false;
    if (!m_following) {
        ++m_newLines;
        showBar();
    }
}

void ReadingPosition::returnToEnd()
{
    // Focus goes back before the bar hides, so the window is never without a focused control.
    if (m_bar->hasFocus() && m_focusAfterBar)
        m_focusAfterBar->setFocus(Qt::OtherFocusReason);
    m_adjusting = true;
    m_transcript.verticalScrollBar()->setValue(m_transcript.verticalScrollBar()->maximum());
    m_adjusting = false;
    setFollowing(true);
}

void ReadingPosition::setFocusAfterBar(QWidget *widget)
{
    m_focusAfterBar = widget;
}

bool ReadingPosition::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_transcript) {
        if (event->type() == QEvent::Resize)
            placeBar();
        else if (event->type() == QEvent::KeyPress
                 && static_cast<QKeyEvent *>(event)->key() == Qt::Key_End)
            returnToEnd();
    }
    return QObject::eventFilter(watched, event);
}

void ReadingPosition::setFollowing(bool following)
{
    m_following = following;
    if (following) {
        m_newLines = 0;
        m_bar->hide();
    }
}

void ReadingPosition::showBar()
{
    m_bar->setText(m_newLines == 1 ? QStringLiteral("1 new line")
                                   : QStringLiteral("%1 new lines").arg(m_newLines));
    placeBar();
    m_bar->show();
    m_bar->raise();
}

void ReadingPosition::placeBar()
{
    // Centred over the bottom edge of the text area, clear of the scroll bar.
    const QRect area = m_transcript.viewport()->geometry();
    const QSize size = m_bar->sizeHint();
    const int width = qMin(size.width(), area.width());
    m_bar->setGeometry(area.left() + (area.width() - width) / 2, area.bottom() + 1 - size.height(), width,
                       size.height());
}

bool ReadingPosition::atEnd() const
{
    const QScrollBar *scroll = m_transcript.verticalScrollBar();
    return scroll->value() >= scroll->maximum();
}
