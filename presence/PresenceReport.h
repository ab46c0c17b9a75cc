#pragma once

#include "presence/PresenceEndpoint.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>

enum class PresenceEvent { Start, Stop };

// "1," or "0," with the call sign in the local 8-bit encoding and CR LF: the whole report.
QByteArray presenceLine(PresenceEvent event, const QString &callsign);

// One report: connect, write the line, close, nothing read. It runs on the event loop and
// always ends within TimeLimit, name lookup included; every failure just ends it.
class PresenceReport : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds TimeLimit{3000};

    PresenceReport(const PresenceEndpoint &endpoint, const QByteArray &line, QObject *parent = nullptr);

    void start();
    void abort();
    bool isFinished() const { return m_finished; }

Q_SIGNALS:
    // Emitted once; delivered means the whole line went out and the connection was closed.
    void finished(bool delivered);

private:
    void writeLine();
    void finish(bool delivered);

    PresenceEndpoint m_endpoint;
    QByteArray m_line;
    QTcpSocket m_socket;
    QTimer m_deadline;
    bool m_lineWritten = false;
    bool m_finished = false;
};
