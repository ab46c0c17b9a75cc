#include "main_window/logic/LocalClock.h"

QDateTime LocalClock::operator()()
{
    // Zones change their offset only at whole seconds, so the second's start in local time
    // names the same date and second as the moment itself.
    const qint64 second = QDateTime::currentMSecsSinceEpoch() / 1000;
    if (second != m_second) {
        m_second = second;
        m_start = QDateTime::fromMSecsSinceEpoch(second * 1000);
    }
    return m_start;
}
