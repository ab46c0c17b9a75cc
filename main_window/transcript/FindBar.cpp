#include "main_window/transcript/FindBar.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolButton>

#include <algorithm>

namespace {

QToolButton *addButton(QWidget &bar, const char *name, const QString &caption, const QString &accessibleName,
                       const QString &toolTip)
{
    auto *button = new QToolButton(&bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setAccessibleName(accessibleName);
    button->setToolTip(toolTip);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QTextEdit::ExtraSelection highlight(QTextDocument &document, int position, int length, const QColor &color)
{
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(&document);
    selection.cursor.setPosition(position);
    selection.cursor.setPosition(position + length, QTextCursor::KeepAnchor);
    selection.format.setBackground(color);
    // The line keeps its own colour; black stays readable on both highlight colours.
    selection.format.setForeground(Qt::black);
    return selection;
}

} // namespace

FindBar::FindBar(QTextEdit &transcript, QWidget &returnFocus, QWidget *parent)
    : QFrame(parent)
    , m_transcript(transcript)
    , m_returnFocus(returnFocus)
{
    setObjectName(QStringLiteral("FindBar"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAccessibleName(QStringLiteral("Find"));
    setAccessibleDescription(QStringLiteral("Finds text in the transcript"));

    auto *label = new QLabel(QStringLiteral("Find:"), this);
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("FindText"));
    m_field->setAccessibleName(QStringLiteral("Find text"));
    m_field->setAccessibleDescription(
        QStringLiteral("Enter finds the next match, Shift+Enter the previous, Escape closes"));
    m_field->installEventFilter(this);
    label->setBuddy(m_field);

    m_previous = addButton(*this, "FindPrevious", QStringLiteral("\u25B2"), QStringLiteral("Previous match"),
                           QStringLiteral("Previous match (Shift+F3)"));
    m_next = addButton(*this, "FindNext", QStringLiteral("\u25BC"), QStringLiteral("Next match"),
                       QStringLiteral("Next match (F3)"));
    m_matchCase = new QCheckBox(QStringLiteral("Match case"), this);
    m_matchCase->setObjectName(QStringLiteral("FindMatchCase"));
    m_matchCase->setAccessibleDescription(QStringLiteral("Finds only text in the same letter case"));
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("FindCount"));
    m_count->setTextFormat(Qt::PlainText);
    m_count->setAccessibleName(QStringLiteral("Matches"));
    m_close = addButton(*this, "FindClose", QStringLiteral("\u2715"), QStringLiteral("Close find bar"),
                        QStringLiteral("Close (Escape)"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 1, 2, 1);
    layout->setSpacing(4);
    layout->addWidget(label);
    layout->addWidget(m_field, 1);
    layout->addWidget(m_previous);
    layout->addWidget(m_next);
    layout->addWidget(m_matchCase);
    layout->addWidget(m_count);
    layout->addWidget(m_close);
    setTabOrder(m_field, m_previous);
    setTabOrder(m_previous, m_next);
    setTabOrder(m_next, m_matchCase);
    setTabOrder(m_matchCase, m_close);

    connect(m_field, &QLineEdit::textChanged, this, &FindBar::patternChanged);
    connect(m_matchCase, &QCheckBox::toggled, this, &FindBar::patternChanged);
    connect(m_previous, &QToolButton::clicked, this, &FindBar::findPrevious);
    connect(m_next, &QToolButton::clicked, this, &FindBar::findNext);
    connect(m_close, &QToolButton::clicked, this, &FindBar::closeBar);
    connect(m_transcript.document(), &QTextDocument::contentsChange, this,
            [this](int from, int, int) { transcriptChanged(from); });
    hide();
}

void FindBar::showEvent(QShowEvent *event)
{
    // The clear button's icon comes from the desktop's icon theme, and looking that up cost a
    // quarter of the program's start-up: it is made when the bar first shows instead.
    if (!m_field->isClearButtonEnabled())
        m_field->setClearButtonEnabled(true);
    QFrame::showEvent(event);
}

void FindBar::addShortcutsTo(QWidget &window)
{
    const auto add = [&window](const char *name, const QKeySequence &keys, auto reaction) {
        auto *action = new QAction(&window);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, &window, reaction);
        window.addAction(action);
    };
    add("FindAction", QKeySequence(Qt::CTRL | Qt::Key_F), [this] { open(); });
    add("FindNextAction", QKeySequence(Qt::Key_F3), [this] {
        if (isHidden() || m_search.text().isEmpty())
            open();
        else
            findNext();
    });
    add("FindPreviousAction", QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] {
        if (isHidden() || m_search.text().isEmpty())
            open();
        else
            findPrevious();
    });
}

void FindBar::open()
{
    const bool wasHidden = isHidden();
    show();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    if (wasHidden)
        patternChanged();
}

void FindBar::closeBar()
{
    hide();
    m_transcript.setExtraSelections({});
    m_returnFocus.setFocus(Qt::OtherFocusReason);
}

void FindBar::findNext()
{
    if (m_search.next())
        showMatches(true);
}

void FindBar::findPrevious()
{
    if (m_search.previous())
        showMatches(true);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (key->modifiers() & Qt::ShiftModifier)
                findPrevious();
            else
                findNext();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    // Escape reaches the bar from any of its controls, which all leave it unhandled.
    if (event->key() == Qt::Key_Escape) {
        closeBar();
        return;
    }
    QFrame::keyPressEvent(event);
}

void FindBar::patternChanged()
{
    m_search.setPattern(m_field->text(), m_matchCase->isChecked());
    m_search.rescan(*m_transcript.document(), firstVisiblePosition());
    showMatches(true);
}

void FindBar::transcriptChanged(int from)
{
    if (isHidden())
        return;
    m_search.documentChanged(*m_transcript.document(), from);
    // New lines add matches without moving the view away from the one being read.
    showMatches(false);
}

void FindBar::showMatches(bool scrollToMatch)
{
    const qsizetype count = m_search.count();
    const qsizetype current = m_search.current();
    if (m_search.text().isEmpty())
        m_count->clear();
    else if (count == 0)
        m_count->setText(QStringLiteral("No matches"));
    else
        m_count->setText(QStringLiteral("%1 of %2").arg(current + 1).arg(count));
    m_previous->setEnabled(count > 0);
    m_next->setEnabled(count > 0);

    QList<QTextEdit::ExtraSelection> selections;
    if (count > 0) {
        const qsizetype first = std::clamp<qsizetype>(current - MaximumHighlights / 2, 0,
                                                      std::max<qsizetype>(0, count - MaximumHighlights));
        const qsizetype last = std::min(count, first + MaximumHighlights);
        QTextDocument &document = *m_transcript.document();
        for (qsizetype i = first; i < last; ++i) {
            if (i != current)
                selections << highlight(document, m_search.matches().at(i), m_search.matchLength(),
                                        QColor(255, 238, 120));
        }
        // Last, so it is drawn over the others.
        selections << highlight(document, m_search.matches().at(current), m_search.matchLength(),
                                QColor(255, 150, 50));
    }
    m_transcript.setExtraSelections(selections);
    if (scrollToMatch && current >= 0)
        scrollToCurrent();
}

void FindBar::scrollToCurrent()
{
    QTextCursor match(m_transcript.document());
    match.setPosition(m_search.matches().at(m_search.current()));
    const QRect where = m_transcript.cursorRect(match);
    const QRect area = m_transcript.viewport()->rect();
    if (area.contains(where))
        return;
    // The caret stays where the transcript keeps it; only the view moves, to centre the match.
    QScrollBar *scroll = m_transcript.verticalScrollBar();
    scroll->setValue(scroll->value() + where.center().y() - area.height() / 2);
}

int FindBar::firstVisiblePosition() const
{
    return m_transcript.cursorForPosition(QPoint(0, 0)).position();
}
