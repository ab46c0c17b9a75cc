#include "main_window/logic/TranscriptFile.h"

#include "base/TarnWaveError.h"

#include <QSaveFile>
#include <QStringEncoder>
#include <QTextDocument>

#include <cstring>
#include <functional>
#include <utility>

namespace {

// Text is encoded and written this many characters at a time: few writes, and a buffer that
// stays in the cache instead of a second copy of a long transcript.
constexpr qsizetype ChunkChars = qsizetype(1) << 18;

// Turns the transcript's text into file bytes, U+2029 written as CR LF, a chunk at a time.
class ContentsEncoder
{
public:
    ContentsEncoder()
    {
        // The encoder names itself after the locale, not the encoding, so it is asked instead.
        m_utf8 = QByteArray(m_encoder.encode(u"\u2029\u00e9")) == QByteArrayView("\xe2\x80\xa9\xc3\xa9");
    }

    // The encoder keeps a surrogate pair's first half for the next chunk, so text may be cut
    // anywhere.
    QByteArray encode(QStringView text) { return m_utf8 ? encodeUtf8(text) : encodeByLine(text); }

private:
    // In UTF-8, U+2029 is a byte sequence that no other character contains, so the text is
    // encoded in one call (each call costs the encoder an allocation) and the line ends are
    // put in afterwards, moving the bytes in place once.
    QByteArray encodeUtf8(QStringView text)
    {
        constexpr char Separator[] = "\xe2\x80\xa9";
        QByteArray bytes = m_encoder.encode(text);
        char *const begin = bytes.data();
        const char *const end = begin + bytes.size();
        char *out = begin;
        for (const char *in = begin;;) {
            const char *hit = in;
            while ((hit = static_cast<const char *>(std::memchr(hit, Separator[0], end - hit)))
                   && (end - hit < 3 || hit[1] != Separator[1] || hit[2] != Separator[2])) {
                ++hit;
            }
            const char *const runEnd = hit ? hit : end;
            if (out != in)
                std::memmove(out, in, runEnd - in);
            out += runEnd - in;
            if (!hit)
                break;
            *out++ = '\r';
            *out++ = '\n';
            in = hit + 3;
        }
        bytes.truncate(out - begin);
        return bytes;
    }

    QByteArray encodeByLine(QStringView text)
    {
        QByteArray bytes;
        bool first = true;
        for (const QStringView line : text.tokenize(QChar(QChar::ParagraphSeparator))) {
            if (!std::exchange(first, false))
                bytes += "\r\n";
            bytes += m_encoder.encode(line);
        }
        return bytes;
    }

    QStringEncoder m_encoder{QStringConverter::System};
    bool m_utf8 = false;
};

// Passes the file's bytes to sink in order, in pieces of a few hundred kilobytes.
void forEachContentsChunk(const QTextDocument &document, const std::function<void(QByteArrayView)> &sink)
{
    // One copy of the raw text, where a copy per block and fragment made a long transcript
    // slow to save. Unlike toPlainText() it keeps no-break spaces; it ends blocks with U+2029,
    // which no block holds itself.
    const QString text = document.toRawText();
    ContentsEncoder encoder;
    for (qsizetype from = 0; from < text.size(); from += ChunkChars)
        sink(encoder.encode(QStringView(text).sliced(from, qMin(ChunkChars, text.size() - from))));
}

} // namespace

QByteArray transcriptFileContents(const QTextDocument &document)
{
    QByteArray contents;
    forEachContentsChunk(document, [&contents](QByteArrayView chunk) { contents += chunk; });
    return contents;
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
    forEachContentsChunk(document, [&file, &fail](QByteArrayView chunk) {
        for (qsizetype done = 0; done < chunk.size();) {
            const qint64 written = file.write(chunk.data() + done, chunk.size() - done);
            if (written <= 0)
                fail();
            done += written;
        }
    });
    if (!file.commit())
        fail();
}
