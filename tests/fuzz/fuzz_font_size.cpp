// The size box's text as a font size: a size within the bounds or an error quoting the text.
#include "base/TarnWaveError.h"
#include "options/logic/FontSizeText.h"

#include <QString>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        const int points = fontSizeFromText(text);
        if (points < MinFontSize || points > MaxFontSize)
            std::abort();
    } catch (const TarnWaveError &error) {
        // The message travels as a C string, so it ends at a NUL.
        const QString quoted = QLatin1Char('\'') + text + QLatin1Char('\'');
        if (!error.message().startsWith(quoted.left(quoted.indexOf(QChar(u'\0')))))
            std::abort();
    }
    return 0;
}
