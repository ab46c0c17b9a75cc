#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// The transcript as a plain-text file: its lines without formatting, each ended by CR LF, in
// the system's 8-bit encoding.
QByteArray transcriptFileContents(const QTextDocument &document);

// Replaces fileName with the transcript only once the whole file is written, so a failed
// write leaves the earlier file as it was; throws TarnWaveError.
void saveTranscript(const QTextDocument &document, const QString &fileName);
