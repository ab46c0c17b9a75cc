#include "main_window/logic/TranscriptSearch.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

void TranscriptSearch::setPattern(const QString &text, bool matchCase)
{
    m_text = text;
    m_matchCase = matchCase;
}

void TranscriptSearch::rescan(QTextDocument &document, int from)
{
    m_matches.clear();
    scanFrom(document, 0);
    const auto at = std::lower_bound(m_matches.cbegin(), m_matches.cend(), from);
    m_current = m_matches.isEmpty() ? -1 : (at == m_matches.cend() ? 0 : at - m_matches.cbegin());
}

void TranscriptSearch::documentChanged(QTextDocument &document, int from)
{
    // Matches that end before the change are untouched; later ones are found again.
    const int length = matchLength();
    const auto firstTouched = std::upper_bound(m_matches.cbegin(), m_matches.cend(), from - length);
    m_matches.erase(firstTouched, m_matches.cend());
    const int keptEnd = m_matches.isEmpty() ? 0 : m_matches.constLast() + length;
    scanFrom(document, std::max(keptEnd, from - length + 1));
    if (m_current >= m_matches.size())
        m_current = m_matches.isEmpty() ? -1 : 0;
    else if (m_current < 0 && !m_matches.isEmpty())
        m_current = 0;
}

void TranscriptSearch::scanFrom(QTextDocument &document, int start)
{
    if (m_text.isEmpty())
        return;
    start = std::max(0, start);
    QTextCursor tail(&document);
    tail.setPosition(std::min(start, document.characterCount() - 1));
    tail.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    // Paragraph separators are one character each, so offsets in the text are positions.
    const QString text = tail.selectedText();
    const Qt::CaseSensitivity cs = m_matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = text.indexOf(m_text, 0, cs); at >= 0; at = text.indexOf(m_text, at + m_text.size(), cs))
        m_matches.append(start + int(at));
}

bool TranscriptSearch::next()
{
    if (m_matches.isEmpty())
        return false;
    m_current = (m_current + 1) % m_matches.size();
    return true;
}

bool TranscriptSearch::previous()
{
    if (m_matches.isEmpty())
        return false;
    m_current = (m_current <= 0 ? m_matches.size() : m_current) - 1;
    return true;
}
