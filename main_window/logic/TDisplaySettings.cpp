#include "main_window/logic/TDisplaySettings.h"

#include <QTextCharFormat>

void TDisplaySettings::setDefaults()
{
    DefaultMyTextColor = QColor(0, 0, 0);
    DefaultRecvTextColor = QColor(0, 0, 0);
    DefaultBackgroundColor = QColor(255, 255, 255);
    DefaultFontName = QStringLiteral("MS Sans Serif");
    DefaultFontSize = 10;
    DefaultFontSizeIndex = 2;
    DefaultFontStyleIndex = 0;
    DefaultFontStyle = {};

    MyTextColor = DefaultMyTextColor;
    RecvTextColor = DefaultRecvTextColor;
    ChatFontName = DefaultFontName;
    ChatFontSize = DefaultFontSize;
    ChatFontStyle = DefaultFontStyle;
}

namespace {

QFont::Weight weightOf(FontStyles style)
{
    return style.testFlag(FontStyleFlag::Bold) ? QFont::Bold : QFont::Normal;
}

} // namespace

void applyFontStyle(QTextCharFormat &format, FontStyles style)
{
    format.setFontWeight(weightOf(style));
    format.setFontItalic(style.testFlag(FontStyleFlag::Italic));
}

QFont withFontStyle(QFont font, FontStyles style)
{
    font.setWeight(weightOf(style));
    font.setItalic(style.testFlag(FontStyleFlag::Italic));
    return font;
}

FontStyles fontStyleOf(const QTextCharFormat &format)
{
    FontStyles style;
    style.setFlag(FontStyleFlag::Bold, format.fontWeight() >= QFont::Bold);
    style.setFlag(FontStyleFlag::Italic, format.fontItalic());
    return style;
}

FontStyles fontStyleOf(const QFont &font)
{
    QTextCharFormat format;
    format.setFont(font);
    return fontStyleOf(format);
}
