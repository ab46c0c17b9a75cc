// Station information text split into lines, against a plain reading of the rules: breaks at
// CR LF, lone CR and lone LF, no empty line for a break at the very end, NUL ends the text.
#include "main_window/StationTextLines.h"

#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    const QStringList lines = splitStationText(text);

    QString expected = text.left(text.indexOf(QChar(u'\0')));
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    if (expected.endsWith(u'\n'))
        expected.chop(1);
    const QStringList expectedLines = expected.isEmpty() && !text.startsWith(u'\r') && !text.startsWith(u'\n')
        ? QStringList()
        : expected.split(u'\n');
    if (lines != expectedLines)
        std::abort();
    return 0;
}
