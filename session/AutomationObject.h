#pragma once

#include <QString>
#include <QVariant>
#include <QVariantList>

class SessionTransport;

// A late-bound automation object: properties and methods are reached by name.
class AutomationObject
{
public:
    enum class Attach {
        RunningOrNew, // attach to the running server, else have one started
        RunningOnly,  // attach to a running server; never start one
    };

    // Creating the object attaches to its server; throws TarnWaveError.
    AutomationObject(SessionTransport &transport, const QString &progId,
                     Attach attach = Attach::RunningOrNew);

    QVariant property(const QString &name) const;
    void call(const QString &method, const QVariantList &args = {}) const;

private:
    SessionTransport &m_transport;
    QString m_progId;
};
