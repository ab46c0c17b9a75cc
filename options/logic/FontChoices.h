#pragma once

#include "main_window/display/logic/TDisplaySettings.h"

#include <QStringList>

#include <optional>

class QFont;

// The entries of the Options dialog's size and style lists.
QStringList fontSizeEntries();
QStringList fontStyleEntries();

// The style of a position in the style list; nothing for positions outside it.
std::optional<FontStyles> fontStyleAt(int position);

QFont withFontStyle(QFont font, FontStyles style);
FontStyles fontStyleOf(const QFont &font);

// Face names as a sorted list shows them: case-insensitive order, each name once.
QStringList sortedFaceNames(QStringList faces);
