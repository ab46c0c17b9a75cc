#include "options/logic/FontSizeText.h"

#include "base/TarnWaveError.h"

int fontSizeFromText(const QString &text)
{
    bool ok = false;
    const int size = text.toInt(&ok, 10);
    if (!ok)
        throw TarnWaveError(QStringLiteral("'%1' is not a valid integer value").arg(text));
    if (size < MinFontSize || size > MaxFontSize) {
        throw TarnWaveError(QStringLiteral("'%1' is not a valid font size, use %2 to %3")
                                .arg(text)
                                .arg(MinFontSize)
                                .arg(MaxFontSize));
    }
    return size;
}
