#pragma once

#include <QString>

class QTextDocument;
struct TDisplaySettings;

// The text of benchmark line i, an ordinary exchange of about sixty characters.
QString benchLineText(int i);

// Appends count lines to a transcript as one edit, own and received lines alternating with
// the formats the window gives them, so a long scrollback is built in a moment.
void fillTranscript(QTextDocument &document, const TDisplaySettings &settings, int count);
