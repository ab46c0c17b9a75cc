#include "main_window/TranscriptFile.h"

#include "app/TarnWaveError.h"
#include "main_window/TranscriptLines.h"

#include <QSaveFile>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>

namespace {

// The indexes of the break markers' formats: a transcript holds only a few formats.
QList<int> breakMarkerFormats(const QTextDocument &document)
{
    QList<int> markers;
    const QList<QTextFormat> formats = document.allFormats();
    for (int i = 0; i < formats.size(); ++i) {
        if (formats.at(i).hasProperty(TranscriptBreakMarker))
            markers << i;
    }
    return markers;
}

// Appends text with each U+2029 written as CR LF, in one pass: QString::replace() moves the
// rest of the text for every batch of matches, which is slow for a long transcript.
void appendWithLineEnds(QString &out, QStringView text)
{
    for (qsizetype from = 0;;) {
        const qsizetype end = text.indexOf(QChar::ParagraphSeparator, from);
        out += text.mid(from, (end < 0 ? text.size() : end) - from);
        if (end < 0)
            return;
        out += QLatin1String("\r\n");
        from = end + 1;
    }
}

} // namespace

QByteArray transcriptFileContents(const QTextDocument &document)
{
    // One copy of the raw text, where a copy per block and fragment made a long transcript
    // slow to save. Unlike toPlainText() it keeps no-break spaces; it ends blocks with U+2029,
    // which no block holds itself.
    const QString raw = document.toRawText();
    const QList<int> markers = breakMarkerFormats(document);
    QString text;
    text.reserve(raw.size() + document.blockCount());
    if (markers.isEmpty()) {
        appendWithLineEnds(text, raw);
    } else {
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (block != document.begin())
                text += QLatin1String("\r\n");
            for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
                const QTextFragment fragment = piece.fragment();
                if (!markers.contains(fragment.charFormatIndex()))
                    text += QStringView(raw).mid(fragment.position(), fragment.length());
            }
        }
    }
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(text);
}

void saveTranscript(const QTextDocument &document, const QString &fileName)
{
    QSaveFile file(fileName);
    const auto fail = [&file, &fileName] {
        throw TarnWaveError(QStringLiteral("Cannot save the transcript to %1: %2")
                                .arg(fileName, file.errorString()));
    };
    // Unbuffered: a buffered flush takes a short write for success, so a full disk would pass
    // for a complete file; written directly, the write that finds no room reports it.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail();
    const QByteArray contents = transcriptFileContents(document);
    for (qsizetype done = 0; done < contents.size();) {
        const qint64 written = file.write(contents.constData() + done, contents.size() - done);
        if (written <= 0)
            fail();
        done += written;
    }
    if (!file.commit())
        fail();
}
