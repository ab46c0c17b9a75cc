#pragma once

#include <QString>
#include <QStringList>

class QColor;
class QTextCursor;
class QTextDocument;
struct TDisplaySettings;

// The transcript's text length in characters, in constant time.
int transcriptLength(const QTextDocument &document);

// Moves the caret to insertPos, limited to the transcript.
void placeCaret(QTextCursor &caret, int insertPos);

// Appends an own line at insertPos: prefix and text in the own-line font and colour, then a
// line break. The caret ends after the break.
void appendOwnLine(QTextCursor &caret, int insertPos, const TDisplaySettings &settings,
                   const QString &prefix, const QString &text);

// Appends a received line at insertPos in color, keeping the face, size and style found at
// the caret; the caret ends after the break. The text goes in as plain text.
void appendReceivedLine(QTextCursor &caret, int insertPos, const QColor &color, const QString &line);

// Appends received lines in order as one edit, as many appendReceivedLine() calls would, so
// the transcript is laid out and reports the change once.
void appendReceivedLines(QTextCursor &caret, int insertPos, const QColor &color, const QStringList &lines);
