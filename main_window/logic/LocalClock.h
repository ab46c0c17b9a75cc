#pragma once

#include <QDateTime>

// The local date and time to the second, for stamping transcript lines. Asking the system for
// local time looks the time zone up again each time (a file check per call); in a flood that
// cost more than formatting the stamp, so the zone is looked up once per second.
class LocalClock
{
public:
    // The start of the current second, in local time.
    QDateTime operator()();

private:
    qint64 m_second = -1;
    QDateTime m_start;
};
