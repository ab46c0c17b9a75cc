#pragma once

#include "main_window/logic/TDisplaySettings.h"

#include <QStringList>

#include <optional>

// The entries of the Options dialog's size and style lists.
QStringList fontSizeEntries();
QStringList fontStyleEntries();

// The style of a position in the style list; nothing for positions outside it.
std::optional<FontStyles> fontStyleAt(int position);

// Face names as a sorted list shows them: case-insensitive order, each name once.
QStringList sortedFaceNames(QStringList faces);
