#pragma once

#include <QString>

class QTextCharFormat;
class QTextDocument;

// Replaces the text of one line (block) with plain text in the given format, first adding empty
// lines when the document is shorter, since the operator may have edited the preview.
void replacePreviewLine(QTextDocument &document, int line, const QString &text,
                        const QTextCharFormat &format);
