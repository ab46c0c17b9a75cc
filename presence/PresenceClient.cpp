#include "presence/PresenceClient.h"

#include <QEventLoop>

PresenceClient::PresenceClient(const PresenceEndpoint &endpoint, QObject *parent)
    : QObject(parent)
    , m_endpoint(endpoint)
{
}

void PresenceClient::sendStartReport(const QString &callsign)
{
    auto *report = new PresenceReport(m_endpoint, presenceLine(PresenceEvent::Start, callsign), this);
    connect(report, &PresenceReport::finished, this, [this, report](bool delivered) {
        report->deleteLater();
        Q_EMIT reportFinished(PresenceEvent::Start, delivered);
    });
    m_startReport = report;
    report->start();
}

void PresenceClient::sendStopReport(const QString &callsign)
{
    // The wait below runs the event loop, which could bring a second close here.
    if (m_stopping)
        return;
    m_stopping = true;
    if (m_startReport)
        m_startReport->abort();

    PresenceReport report(m_endpoint, presenceLine(PresenceEvent::Stop, callsign));
    bool delivered = false;
    QEventLoop loop;
    connect(&report, &PresenceReport::finished, &loop, [&](bool ok) {
        delivered = ok;
        loop.quit();
    });
    report.start();
    // Bounded by the report's own deadline; the operator's input waits until the close is done.
    if (!report.isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    m_stopping = false;
    Q_EMIT reportFinished(PresenceEvent::Stop, delivered);
}
