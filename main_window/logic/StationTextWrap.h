#pragma once

#include <QStringList>
#include <QTextOption>

// Laying out a run with no break opportunity at word boundaries takes time that grows with
// the square of its length (80,000 characters: six seconds), so one line from a station could
// freeze the window. A paragraph holding a run longer than `limit` is wrapped anywhere
// instead, which keeps every character and lays out in linear time.
inline constexpr qsizetype LongRunLimit = 256;

// How one paragraph wraps: as `usual`, or anywhere when it holds an overlong run.
QTextOption::WrapMode paragraphWrapMode(const QString &paragraph, QTextOption::WrapMode usual,
                                        qsizetype limit = LongRunLimit);

// How the station panel wraps these lines, all shown with one wrap mode: at word boundaries,
// unless a line holds an overlong run.
QTextOption::WrapMode stationTextWrapMode(const QStringList &lines, qsizetype limit = LongRunLimit);
