#pragma once

#include <QString>
#include <QVariantList>

// What a simulator can do to the session it serves, whichever way it serves it. The command
// language runs against this (SimCommandRunner), so a command is written once for both.
class SimServer
{
public:
    virtual ~SimServer() = default;

    virtual void setNumPeers(qint32 count) = 0;
    // Sets Transmitting and fires OnTX.
    virtual void setTransmitting(bool on) = 0;
    virtual void setCallsign(const QString &callsign) = 0;
    // Fires the session event of this name with exactly these arguments, each a QString,
    // bool, qint16, qint32, quint32 or double.
    virtual void fireEvent(const QString &name, const QVariantList &arguments) = 0;
    // The same by dispatch identifier, which only COM has.
    virtual void fireDispId(qint32 dispId, const QVariantList &arguments) = 0;
    // Refuses every call for the next ms milliseconds without running it.
    virtual void refuseCallsFor(qint64 ms) = 0;
    // Ends the process at once, as a crash does: no OnClosing, nothing given up tidily.
    virtual void die() = 0;
};
