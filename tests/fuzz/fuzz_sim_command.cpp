// The simulator's command language: any line parses to a command, is ignored, or gives an
// error message; escaping any text for output and reading it back gives the text again.
#include "SimCommandParser.h"

#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString line = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const SimParseResult result = SimCommandParser::parse(line);
    if (result.status == SimParseResult::Status::Error) {
        if (result.error.isEmpty())
            std::abort();
        (void)SimCommandParser::describeError(1, line, result.error);
    }

    QString error;
    (void)SimCommandParser::unescape(line, &error);

    // Raw UTF-16 as well, lone surrogates included, which UTF-8 decoding never yields.
    const QString units(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    (void)SimCommandParser::parse(units);
    const QString escaped = SimCommandParser::escapeLine(units);
    if (escaped.contains(u'\r') || escaped.contains(u'\n'))
        std::abort();
    if (!units.contains(QChar(u'\0'))) {
        QString roundTripError;
        if (SimCommandParser::unescape(escaped, &roundTripError) != units)
            std::abort();
    }
    return 0;
}
