#include "session/ServerMessages.h"

namespace ServerMessages {

QString notRunning(const QString &what)
{
    return QStringLiteral("%1 failed: the session server is not running").arg(what);
}

QString didNotAnswer(const QString &what, int boundMs)
{
    return QStringLiteral("The session server did not answer %1 within %2 seconds").arg(what).arg(boundMs / 1000);
}

QString notAnswering(const QString &what)
{
    return QStringLiteral("%1 failed: the session server is not answering").arg(what);
}

QString busy(const QString &what, int boundMs)
{
    return QStringLiteral("The session server is busy and did not take %1 within %2 seconds")
        .arg(what)
        .arg(boundMs / 1000);
}

} // namespace ServerMessages
