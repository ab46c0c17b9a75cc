#include "presence/PresenceLine.h"

QByteArray presenceLine(PresenceEvent event, const QString &callsign)
{
    return QByteArray(event == PresenceEvent::Start ? "1," : "0,") + callsign.toLocal8Bit()
           + QByteArray("\r\n");
}
