#pragma once

#include "presence/PresenceEndpoint.h"
#include "presence/PresenceReport.h"

#include <QObject>
#include <QPointer>

// The presence report client: tells the maker's server when the operator starts and stops.
// Nothing in the program depends on it, so it never reports a failure to anyone.
class PresenceClient : public QObject
{
    Q_OBJECT

public:
    explicit PresenceClient(const PresenceEndpoint &endpoint = PresenceEndpoint(), QObject *parent = nullptr);

    const PresenceEndpoint &endpoint() const { return m_endpoint; }

    // Returns at once; the report goes out while the event loop runs.
    void sendStartReport(const QString &callsign);
    // Returns when the report is out or has failed, within PresenceReport::TimeLimit. Any
    // start report still under way is dropped first, so the server never sees stop first.
    void sendStopReport(const QString &callsign);

Q_SIGNALS:
    void reportFinished(PresenceEvent event, bool delivered);

private:
    PresenceEndpoint m_endpoint;
    QPointer<PresenceReport> m_startReport;
    bool m_stopping = false;
};
