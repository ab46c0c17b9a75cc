#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class SessionTransport;

// A late-bound automation object: properties and methods are reached by name.
class AutomationObject
{
public:
    // Creating the object attaches to its running server or starts one; throws TarnWaveError.
    AutomationObject(SessionTransport &transport, const QString &progId);

    const QString &progId() const { return m_progId; }
    QVariant property(const QString &name) const;
    void call(const QString &method, const QVariantList &args = {}) const;

private:
    SessionTransport &m_transport;
    QString m_progId;
};
