#include "main_window/TranscriptFile.h"

#include "app/TarnWaveError.h"

#include <QSaveFile>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>

QByteArray transcriptFileContents(const QTextDocument &document)
{
    // Block by block rather than toPlainText(), which turns no-break spaces into spaces.
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            text += QLatin1String("\r\n");
        text += block.text();
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
