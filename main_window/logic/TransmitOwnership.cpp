#include "main_window/logic/TransmitOwnership.h"

#include "session/AutomationObject.h"

void TransmitOwnership::transmit(const AutomationObject &session, bool on)
{
    // A failed unkey may have left the transmitter keyed, so only a completed one clears it.
    if (on)
        m_keyed = true;
    session.call(QStringLiteral("Transmit"), {on});
    if (!on)
        m_keyed = false;
}

void TransmitOwnership::txReported(bool bTX)
{
    if (!bTX)
        m_keyed = false;
}

void TransmitOwnership::unkeyIfKeyed(const AutomationObject &session)
{
    if (m_keyed)
        transmit(session, false);
}
