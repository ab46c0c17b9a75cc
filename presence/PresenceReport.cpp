#include "presence/PresenceReport.h"

#include <QNetworkProxy>

QByteArray presenceLine(PresenceEvent event, const QString &callsign)
{
    return QByteArray(event == PresenceEvent::Start ? "1," : "0,") + callsign.toLocal8Bit()
           + QByteArray("\r\n");
}

PresenceReport::PresenceReport(const PresenceEndpoint &endpoint, const QByteArray &line, QObject *parent)
    : QObject(parent)
    , m_endpoint(endpoint)
    , m_line(line)
{
    // A raw line to a fixed host; an application proxy must not redirect it.
    m_socket.setProxy(QNetworkProxy::NoProxy);
    // Nothing is read back; a talkative server must not fill memory while the line goes out.
    m_socket.setReadBufferSize(256);
    m_deadline.setSingleShot(true);
    // A coarse timer may be 5% late, which would break the promise of three seconds.
    m_deadline.setTimerType(Qt::PreciseTimer);
    m_deadline.setInterval(TimeLimit);
    connect(&m_deadline, &QTimer::timeout, this, [this] { finish(false); });
    connect(&m_socket, &QTcpSocket::connected, this, &PresenceReport::writeLine);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] { finish(false); });
    connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
        finish(m_lineWritten && m_socket.bytesToWrite() == 0);
    });
}

void PresenceReport::start()
{
    m_deadline.start();
    // Asynchronous, host lookup included, so the deadline can cut any stage short.
    m_socket.connectToHost(m_endpoint.host, m_endpoint.port);
}

void PresenceReport::abort()
{
    finish(false);
}

void PresenceReport::writeLine()
{
    m_lineWritten = m_socket.write(m_line) == m_line.size();
    if (!m_lineWritten) {
        finish(false);
        return;
    }
    // Closes once the line is out; disconnected() follows.
    m_socket.disconnectFromHost();
}

void PresenceReport::finish(bool delivered)
{
    if (m_finished)
        return;
    m_finished = true;
    m_deadline.stop();
    m_socket.abort();
    Q_EMIT finished(delivered);
}
