#pragma once

#include <QString>

// What the operator reads when a call to the session server fails for a reason of the server's
// state rather than of the call; `what` names the property, method or ProgID.
namespace ServerMessages {

QString notRunning(const QString &what);
QString didNotAnswer(const QString &what, int boundMs);
// An earlier call overran its bound and is still pending.
QString notAnswering(const QString &what);
QString busy(const QString &what, int boundMs);

} // namespace ServerMessages
