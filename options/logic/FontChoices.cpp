#include "options/logic/FontChoices.h"

#include <QCollator>

#include <algorithm>
#include <array>

QStringList fontSizeEntries()
{
    return {QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("10"), QStringLiteral("11"),
            QStringLiteral("12"), QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
            QStringLiteral("20"), QStringLiteral("22"), QStringLiteral("24"), QStringLiteral("26"),
            QStringLiteral("28"), QStringLiteral("36"), QStringLiteral("48"), QStringLiteral("72")};
}

QStringList fontStyleEntries()
{
    return {QStringLiteral("Regular"), QStringLiteral("Bold"), QStringLiteral("Italic"),
            QStringLiteral("Bold Italic")};
}

std::optional<FontStyles> fontStyleAt(int position)
{
    static const std::array<FontStyles, 4> styles{
        FontStyles(), FontStyles(FontStyleFlag::Bold), FontStyles(FontStyleFlag::Italic),
        FontStyleFlag::Bold | FontStyleFlag::Italic};
    if (position < 0 || position >= int(styles.size()))
        return std::nullopt;
    return styles[std::size_t(position)];
}

QStringList sortedFaceNames(QStringList faces)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(faces.begin(), faces.end(), collator);
    faces.removeDuplicates();
    return faces;
}
