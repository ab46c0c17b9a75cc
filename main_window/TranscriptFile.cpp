#include "main_window/TranscriptFile.h"

#include "app/TarnWaveError.h"

#include <QSaveFile>
#include <QStringEncoder>
#include <QTextDocument>

namespace {

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
    // One copy of the raw text, where a copy per block made a long transcript slow to save.
    // Unlike toPlainText() it keeps no-break spaces; it ends blocks with U+2029, which no
    // block holds itself.
    const QString raw = document.toRawText();
    QString text;
    text.reserve(raw.size() + document.blockCount());
    appendWithLineEnds(text, raw);
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
