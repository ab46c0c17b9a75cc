#pragma once

#include <QStringList>
#include <QTextOption>

// How the station panel wraps these lines: at word boundaries, unless a line holds a run with
// no break opportunity longer than `limit`. Laying such a run out at word boundaries takes
// time that grows with the square of its length (80,000 characters: six seconds), so one
// line from a station could freeze the window; wrapping anywhere keeps every character and
// lays out in linear time.
QTextOption::WrapMode stationTextWrapMode(const QStringList &lines, qsizetype limit = 256);
