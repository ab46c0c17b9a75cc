#include "session/com/ComFailureText.h"

#include "session/ServerMessages.h"
#include "session/com/ComError.h"
#include "session/com/VariantConversion.h"

QString comFailureText(const ComError &error, const QString &what, int boundMs)
{
    if (ComError::isServerGone(error.code()))
        return ServerMessages::notRunning(what);
    if (ComError::isBusy(error.code()))
        return ServerMessages::busy(what, boundMs);
    if (ComError::isTimeout(error.code()))
        return ServerMessages::didNotAnswer(what, boundMs);
    return VariantConversion::fromWide(error.message(VariantConversion::toWide(what)));
}
