// Station information text split into lines, against a plain reading of the rules: breaks at
// CR LF, lone CR and lone LF, no empty line for a break at the very end, NUL ends the text.
// The wrap mode for the lines is chosen too: only a line over the run limit can change it.
#include "main_window/logic/StationTextLines.h"
#include "main_window/logic/StationTextWrap.h"

#include <QString>

#include <algorithm>
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

    constexpr qsizetype Limit = 16;  // small, so that short inputs reach the run scan
    const bool anyLong = std::any_of(lines.cbegin(), lines.cend(),
                                     [](const QString &line) { return line.size() > Limit; });
    if (stationTextWrapMode(lines, Limit) == QTextOption::WrapAnywhere && !anyLong)
        std::abort();
    return 0;
}
