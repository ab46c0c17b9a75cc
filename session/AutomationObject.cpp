#include "session/AutomationObject.h"

#include "session/SessionTransport.h"

AutomationObject::AutomationObject(SessionTransport &transport, const QString &progId, Attach attach)
    : m_transport(transport)
    , m_progId(progId)
{
    if (attach == Attach::RunningOrNew)
        m_transport.attachOrStart(m_progId);
    else
        m_transport.attachRunning(m_progId);
}

QVariant AutomationObject::property(const QString &name) const
{
    return m_transport.readProperty(m_progId, name);
}

void AutomationObject::call(const QString &method, const QVariantList &args) const
{
    m_transport.invoke(m_progId, method, args);
}
