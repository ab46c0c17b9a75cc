#pragma once

#include <QString>

// Own lines are drawn at this many points. Larger sizes are what rich-text controls have always
// refused; zero or less would draw nothing.
inline constexpr int MinFontSize = 1;
inline constexpr int MaxFontSize = 1638;

// The whole number in a size box's text; throws TarnWaveError for anything else, quoting the text.
int fontSizeFromText(const QString &text);
