#pragma once

#include <QStringList>
#include <QStringView>

// Station information text as lines: breaks are CR LF, a lone CR or a lone LF; text after the
// last break is a line of its own, a break at the very end adds no empty line, and a NUL ends
// the text.
QStringList splitStationText(QStringView text);
