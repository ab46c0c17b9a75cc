#include "main_window/logic/LinePrefix.h"

namespace {

// Index of the first unquoted run of 't', or -1, with its length; quotes delimit literals and
// '' is a literal quote.
qsizetype findZoneField(const QString &format, qsizetype &runLength)
{
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        } else if (!quoted && c == QLatin1Char('t')) {
            runLength = 1;
            while (i + runLength < format.size() && format.at(i + runLength) == QLatin1Char('t'))
                ++runLength;
            return i;
        }
    }
    return -1;
}

} // namespace

QString timeFormatWithoutZone(const QString &timeFormat)
{
    QString format = timeFormat;
    qsizetype length = 0;
    for (qsizetype at = findZoneField(format, length); at >= 0; at = findZoneField(format, length)) {
        format.remove(at, length);
        // "(t)" would leave empty brackets behind.
        if (at > 0 && at < format.size() && format.at(at - 1) == QLatin1Char('(')
            && format.at(at) == QLatin1Char(')')) {
            format.remove(--at, 2);
        }
        qsizetype spaceFrom = at;
        while (spaceFrom > 0 && format.at(spaceFrom - 1).isSpace())
            --spaceFrom;
        if (spaceFrom > 0) {
            format.remove(spaceFrom, at - spaceFrom);
        } else {
            qsizetype spaceTo = at;
            while (spaceTo < format.size() && format.at(spaceTo).isSpace())
                ++spaceTo;
            format.remove(0, spaceTo);
        }
    }
    return format.trimmed();
}

QString dateTimeText(const QDateTime &when, const QLocale &locale)
{
    // A flood brings hundreds of lines within one second, and formatting cost more than
    // inserting the line: the text is made once per second and locale.
    struct Cached
    {
        QDate date;
        int second = -1;
        QLocale locale;
        QString text;
    };
    thread_local Cached cached;
    const QDate date = when.date();
    const QTime time = when.time();
    const int second = time.isValid() ? time.msecsSinceStartOfDay() / 1000 : -1;
    if (second >= 0 && second == cached.second && date == cached.date && locale == cached.locale)
        return cached.text;

    QString text = locale.toString(date, locale.dateFormat(QLocale::ShortFormat));
    if (time.hour() != 0 || time.minute() != 0 || time.second() != 0) {
        text += QLatin1Char(' ')
            + locale.toString(time, timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
    }
    cached = {date, second, locale, text};
    return text;
}

QString ownLinePrefix(const QString &callsign, const QString &dateTime)
{
    if (dateTime.isEmpty())
        return callsign + QLatin1Char('>');
    return dateTime + QLatin1Char(' ') + callsign + QLatin1Char('>');
}

QString receivedLinePrefix(const QString &dateTime)
{
    return dateTime.isEmpty() ? QString() : dateTime + QLatin1Char(' ');
}
