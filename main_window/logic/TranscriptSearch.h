#pragma once

#include <QList>
#include <QString>

class QTextDocument;

// The matches of a search text in the transcript, and which of them is the current one. The
// transcript only grows at its end or is cleared, so a change rescans only from where it began.
class TranscriptSearch
{
public:
    void setPattern(const QString &text, bool matchCase);
    const QString &text() const { return m_text; }

    // Finds every match again; the current one becomes the first at or after from, else the
    // first of all.
    void rescan(QTextDocument &document, int from = 0);
    // The document changed from position from on (its contentsChange).
    void documentChanged(QTextDocument &document, int from);

    // Document positions of the matches, in order; every match is text().size() long.
    const QList<int> &matches() const { return m_matches; }
    int matchLength() const { return int(m_text.size()); }
    qsizetype count() const { return m_matches.size(); }
    // -1 when there is no match.
    qsizetype current() const { return m_current; }

    // Step to the next or previous match, wrapping around; false when there is none.
    bool next();
    bool previous();

private:
    void scanFrom(QTextDocument &document, int start);

    QString m_text;
    bool m_matchCase = false;
    QList<int> m_matches;
    qsizetype m_current = -1;
};
