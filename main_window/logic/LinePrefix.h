#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The locale's long time format without its time-zone field (and the blank or brackets
// around it), since transcript lines carry local time only.
QString timeFormatWithoutZone(const QString &timeFormat);

// The locale's short date, a space and its long time; at exactly 00:00:00 the date alone.
QString dateTimeText(const QDateTime &when, const QLocale &locale = QLocale::system());

// "<date/time> <call sign>>", or "<call sign>>" when dateTime is empty.
QString ownLinePrefix(const QString &callsign, const QString &dateTime);
// "<date/time> ", or nothing when dateTime is empty.
QString receivedLinePrefix(const QString &dateTime);
