#pragma once

#include <QTest>
#include <QTimer>

// Turns the event loop until everything queued for this thread before the call has been
// handled, together with the zero-delay timers that starts: a transport hands a received event
// to this thread queued, and its bursts pass it on from such a timer. The second timer is
// started after the first has fired, so it fires after any zero timer started before it.
[[nodiscard]] inline bool drainEventLoop()
{
    bool drained = false;
    QTimer last;
    last.setSingleShot(true);
    QObject::connect(&last, &QTimer::timeout, [&drained] { drained = true; });
    QTimer first;
    first.setSingleShot(true);
    QObject::connect(&first, &QTimer::timeout, &last, [&last] { last.start(0); });
    first.start(0);
    return QTest::qWaitFor([&drained] { return drained; }, 5000);
}
