#pragma once

#include <QString>

class ComError;

// What the operator reads when `what` (a property, method or ProgID) failed with a COM error:
// the server's state in the words both transports use, otherwise COM's or the server's own.
// boundMs is the bound the call was given.
QString comFailureText(const ComError &error, const QString &what, int boundMs);
