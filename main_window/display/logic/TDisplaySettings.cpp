#include "main_window/display/logic/TDisplaySettings.h"

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

void applyFontStyle(QTextCharFormat &format, FontStyles style)
{
    format.setFontWeight(style.testFlag(FontStyleFlag::Bold) ? QFont::Bold : QFont::Normal);
    format.setFontItalic(style.testFlag(FontStyleFlag::Italic));
}

FontStyles fontStyleOf(const QTextCharFormat &format)
{
    FontStyles style;
    style.setFlag(FontStyleFlag::Bold, format.fontWeight() >= QFont::Bold);
    style.setFlag(FontStyleFlag::Italic, format.fontItalic());
    return style;
}
