#include "SimCommandRunner.h"

#include "SimCommandQueue.h"
#include "SimServer.h"

#include <QThread>

#include <cstdio>

namespace {

void writeLine(std::FILE *stream, const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

SimCommandRunner::SimCommandRunner(SimServer &server, QObject *parent)
    : QObject(parent), m_server(server), m_queue(new SimCommandQueue(this))
{
    connect(m_queue, &SimCommandQueue::commandReady, this, &SimCommandRunner::execute);
    connect(m_queue, &SimCommandQueue::lineFailed, this, &SimCommandRunner::printError);
    connect(m_queue, &SimCommandQueue::quitRequested, this, &SimCommandRunner::quitRequested);
}

void SimCommandRunner::start()
{
    printLine(QStringLiteral("ready"));
    m_queue->start();
}

void SimCommandRunner::stop()
{
    m_stopped = true;
}

void SimCommandRunner::addLine(const QString &line)
{
    m_queue->addLine(line);
}

void SimCommandRunner::printLine(const QString &line)
{
    writeLine(stdout, line);
    Q_EMIT printed(line);
}

void SimCommandRunner::printError(const QString &line)
{
    writeLine(stderr, line);
    Q_EMIT printed(line);
}

void SimCommandRunner::printChatTextSent(const QString &text)
{
    printLine(QStringLiteral("SendChatText ") + SimCommandParser::escapeLine(text));
}

void SimCommandRunner::printTransmit(bool on)
{
    printLine(on ? QStringLiteral("Transmit true") : QStringLiteral("Transmit false"));
}

void SimCommandRunner::connectStation(const QString &call, const QString &name, const QString &addr)
{
    if (!m_connected.contains(call))
        m_connected.append(call);
    m_server.setNumPeers(qint32(m_connected.size()));
    m_server.fireEvent(QStringLiteral("OnConnected"), {call, name, addr});
}

void SimCommandRunner::disconnectStation(const QString &call)
{
    // Unknown calls are still announced: clients must cope with a stray disconnect.
    m_connected.removeAll(call);
    m_server.setNumPeers(qint32(m_connected.size()));
    m_server.fireEvent(QStringLiteral("OnDisconnected"), {call});
}

void SimCommandRunner::execute(const SimCommand &command)
{
    using Kind = SimCommand::Kind;
    if (m_stopped)
        return;
    switch (command.kind) {
    case Kind::Connect:
        connectStation(command.call, command.name, command.addr);
        break;
    case Kind::Disconnect:
        disconnectStation(command.call);
        break;
    case Kind::Chat:
        m_server.fireEvent(QStringLiteral("OnChatTextReceived"), {command.text});
        break;
    case Kind::StationText:
        m_server.fireEvent(QStringLiteral("OnStationTextReceived"), {command.text});
        break;
    case Kind::Rx:
        m_server.fireEvent(QStringLiteral("OnRX"), {command.on});
        break;
    case Kind::Tx:
        m_server.setTransmitting(command.on);
        break;
    case Kind::Ptt:
        m_server.fireEvent(QStringLiteral("OnPTT"), {command.on});
        break;
    case Kind::CarrierDetect:
        m_server.fireEvent(QStringLiteral("OnCarrierDetect"), {command.on});
        break;
    case Kind::Link:
        m_server.fireEvent(QStringLiteral("OnLinkStatusChange"), {command.on});
        break;
    case Kind::Peers:
        m_server.setNumPeers(qint32(command.number));
        break;
    case Kind::Callsign:
        m_server.setCallsign(command.text);
        break;
    case Kind::Dtmf:
        m_server.fireEvent(QStringLiteral("OnDTMFString"), {command.text});
        break;
    case Kind::Alarm:
        m_server.fireEvent(QStringLiteral("OnAlarm"), {command.call, QVariant::fromValue(qint16(command.number))});
        break;
    case Kind::Serial:
        m_server.fireEvent(QStringLiteral("OnSerialStatus"), {qint32(command.number), qint32(command.number2)});
        break;
    case Kind::StationList:
        m_server.fireEvent(QStringLiteral("OnStationListReceived"), {});
        break;
    case Kind::Closing:
        m_server.fireEvent(QStringLiteral("OnClosing"), {});
        break;
    case Kind::FloodChat:
        for (qint64 i = 1; i <= command.number; ++i)
            m_server.fireEvent(QStringLiteral("OnChatTextReceived"), {QString(command.text + u' ' + QString::number(i))});
        break;
    case Kind::FloodConnect:
        // All up first, then all down, so that clients hold the whole list at once.
        for (qint64 i = 1; i <= command.number; ++i)
            connectStation(u'S' + QString::number(i), QString(), QString());
        for (qint64 i = 1; i <= command.number; ++i)
            disconnectStation(u'S' + QString::number(i));
        break;
    case Kind::Hang:
        // Blocking on purpose: this thread serves the clients, so their calls wait as with a
        // frozen server.
        QThread::msleep(ulong(command.number));
        break;
    case Kind::Busy:
        m_server.refuseCallsFor(command.number);
        break;
    case Kind::Die:
        m_server.die();
        break;
    case Kind::Raw:
        m_server.fireEvent(command.name, command.rawArgs);
        break;
    case Kind::RawDispId:
        m_server.fireDispId(qint32(command.number), command.rawArgs);
        break;
    case Kind::Echo:
        printLine(command.text);
        break;
    case Kind::Sleep:
    case Kind::Quit:
        break; // handled by the queue, since they change the queue itself
    }
}
