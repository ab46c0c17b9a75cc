#pragma once

#include <QColor>
#include <QFlags>
#include <QString>

class QFont;
class QTextCharFormat;

enum class FontStyleFlag {
    Bold = 0x1,
    Italic = 0x2,
};
Q_DECLARE_FLAGS(FontStyles, FontStyleFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(FontStyles)

// How lines are drawn into the transcript. Every field is zero or empty until the defaults
// are set at start-up; nothing is kept between runs.
struct TDisplaySettings
{
    QColor MyTextColor{0, 0, 0};
    QColor RecvTextColor{0, 0, 0};
    QString ChatFontName;
    int ChatFontSize = 0;
    FontStyles ChatFontStyle;

    QColor DefaultMyTextColor{0, 0, 0};
    QColor DefaultRecvTextColor{0, 0, 0};
    QColor DefaultBackgroundColor{0, 0, 0};
    QString DefaultFontName;
    int DefaultFontSize = 0;
    int DefaultFontSizeIndex = 0;
    int DefaultFontStyleIndex = 0;
    FontStyles DefaultFontStyle;

    // Assigns the defaults, then copies each into its current field.
    void setDefaults();
};

// A style set applied to a character format or a font (bold and italic only), and read back.
void applyFontStyle(QTextCharFormat &format, FontStyles style);
QFont withFontStyle(QFont font, FontStyles style);
FontStyles fontStyleOf(const QTextCharFormat &format);
FontStyles fontStyleOf(const QFont &font);
