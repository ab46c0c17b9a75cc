#include "SessionSimulator.h"

#include "SessionAdaptor.h"
#include "SetupConfigAdaptor.h"
#include "SimSession.h"
#include "SimSetupConfig.h"

#include <QDBusConnectionInterface>
#include <QThread>

#include <cstdio>
#include <cstdlib>

const QString SessionSimulator::SessionService = QStringLiteral("TarnWave.TarnwaveSession");
const QString SessionSimulator::ConfigService = QStringLiteral("TarnWave.SetupConfig");

SessionSimulator::SessionSimulator(const QDBusConnection &bus, QObject *parent)
    : QObject(parent),
      m_bus(bus),
      m_session(new SimSession(bus, this)),
      m_config(new SimSetupConfig(this)),
      m_queue(new SimCommandQueue(this))
{
    connect(m_queue, &SimCommandQueue::commandReady, this, &SessionSimulator::execute);
    connect(m_queue, &SimCommandQueue::lineFailed, this, &SessionSimulator::printError);
    connect(m_queue, &SimCommandQueue::quitRequested, this, &SessionSimulator::quitRequested);
    new SessionAdaptor(m_session);
    new SetupConfigAdaptor(m_config);
    connect(m_session, &SimSession::chatTextReceived, this, [](const QString &text) {
        printLine(QStringLiteral("SendChatText ") + SimCommandParser::escapeLine(text));
    });
    connect(m_session, &SimSession::transmitReceived, this, [](bool on) {
        printLine(on ? QStringLiteral("Transmit true") : QStringLiteral("Transmit false"));
    });
}

SessionSimulator::StartResult SessionSimulator::start(QString *message)
{
    if (!m_bus.isConnected()) {
        *message = QStringLiteral("cannot reach the session bus: ") + m_bus.lastError().message();
        return StartResult::Failed;
    }
    // Objects first: a call queued by bus activation is delivered the moment a name is ours.
    if (!m_bus.registerObject(SimSession::Path, m_session, QDBusConnection::ExportAdaptors)
        || !m_bus.registerObject(SimSetupConfig::Path, m_config, QDBusConnection::ExportAdaptors)) {
        *message = QStringLiteral("cannot export the objects: ") + m_bus.lastError().message();
        return StartResult::Failed;
    }
    // The configuration first: activation by the session name completes when that name is
    // taken, and a client reads the configuration right after.
    for (const QString &service : {ConfigService, SessionService}) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
            m_bus.interface()->registerService(service, QDBusConnectionInterface::DontQueueService,
                                               QDBusConnectionInterface::DontAllowReplacement);
        if (!reply.isValid()) {
            *message = QStringLiteral("cannot claim ") + service + QStringLiteral(": ") + reply.error().message();
            return StartResult::Failed;
        }
        if (reply.value() != QDBusConnectionInterface::ServiceRegistered) {
            *message = service + QStringLiteral(" is already owned by another instance; leaving it be");
            return StartResult::AlreadyRunning;
        }
    }
    printLine(QStringLiteral("ready"));
    m_queue->start();
    return StartResult::Ready;
}

void SessionSimulator::addLine(const QString &line)
{
    m_queue->addLine(line);
}

void SessionSimulator::flush()
{
    // Messages leave in order, so a round trip to the bus pushes out everything before it.
    m_bus.interface()->isServiceRegistered(SessionService);
}

void SessionSimulator::emitSwitch(const char *name, bool on)
{
    m_session->emitSignal(QLatin1String(name), {on});
}

void SessionSimulator::execute(const SimCommand &command)
{
    using Kind = SimCommand::Kind;
    switch (command.kind) {
    case Kind::Connect:
        m_session->connectStation(command.call, command.name, command.addr);
        break;
    case Kind::Disconnect:
        m_session->disconnectStation(command.call);
        break;
    case Kind::Chat:
        m_session->emitSignal(QStringLiteral("OnChatTextReceived"), {command.text});
        break;
    case Kind::StationText:
        m_session->emitSignal(QStringLiteral("OnStationTextReceived"), {command.text});
        break;
    case Kind::Rx:
        emitSwitch("OnRX", command.on);
        break;
    case Kind::Tx:
        m_session->setTransmitting(command.on);
        break;
    case Kind::Ptt:
        emitSwitch("OnPTT", command.on);
        break;
    case Kind::CarrierDetect:
        emitSwitch("OnCarrierDetect", command.on);
        break;
    case Kind::Link:
        emitSwitch("OnLinkStatusChange", command.on);
        break;
    case Kind::Peers:
        m_session->setNumPeers(int(command.number));
        break;
    case Kind::Callsign:
        m_config->setCallsign(command.text);
        break;
    case Kind::Dtmf:
        m_session->emitSignal(QStringLiteral("OnDTMFString"), {command.text});
        break;
    case Kind::Alarm:
        m_session->emitSignal(QStringLiteral("OnAlarm"),
                              {command.call, QVariant::fromValue(qint16(command.number))});
        break;
    case Kind::Serial:
        m_session->emitSignal(QStringLiteral("OnSerialStatus"),
                              {qint32(command.number), qint32(command.number2)});
        break;
    case Kind::StationList:
        m_session->emitSignal(QStringLiteral("OnStationListReceived"));
        break;
    case Kind::Closing:
        m_session->emitSignal(QStringLiteral("OnClosing"));
        break;
    case Kind::FloodChat:
        for (qint64 i = 1; i <= command.number; ++i)
            m_session->emitSignal(QStringLiteral("OnChatTextReceived"),
                                  {QString(command.text + u' ' + QString::number(i))});
        break;
    case Kind::FloodConnect:
        // All up first, then all down, so that clients hold the whole list at once.
        for (qint64 i = 1; i <= command.number; ++i)
            m_session->connectStation(u'S' + QString::number(i), QString(), QString());
        for (qint64 i = 1; i <= command.number; ++i)
            m_session->disconnectStation(u'S' + QString::number(i));
        break;
    case Kind::Hang:
        // Blocking on purpose: calls pile up unanswered, as with a frozen server.
        QThread::msleep(ulong(command.number));
        break;
    case Kind::Busy:
        m_session->setBusyFor(command.number);
        break;
    case Kind::Die:
        // As a crash: no OnClosing, nothing flushed, the names dropped only by the bus.
        std::_Exit(3);
    case Kind::Raw:
        m_session->emitSignal(command.name, command.rawArgs);
        break;
    case Kind::RawDispId:
        printError(QStringLiteral("raw-dispid: a bus has no dispatch identifiers; use raw SIGNAL"));
        break;
    case Kind::Echo:
        printLine(command.text);
        break;
    case Kind::Sleep:
    case Kind::Quit:
        break; // handled by the queue, since they change the queue itself
    }
}

void SessionSimulator::printLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

void SessionSimulator::printError(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}
