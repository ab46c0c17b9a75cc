#pragma once

#include <QString>

// Received chat text as the transcript shows it: always one line. Control characters become
// their visible Unicode pictures, so a station cannot make its text pass for separate lines
// (a forged own line among them); one line break at the very end is dropped, since the line
// gets its own break anyway.
QString transcriptSafeText(const QString &received);
