#include "SessionSimulator.h"

#include "SessionAdaptor.h"
#include "SetupConfigAdaptor.h"
#include "SimCommandRunner.h"
#include "SimSession.h"
#include "SimSetupConfig.h"

#include <QDBusConnectionInterface>

#include <cstdlib>

const QString SessionSimulator::SessionService = QStringLiteral("TarnWave.TarnwaveSession");
const QString SessionSimulator::ConfigService = QStringLiteral("TarnWave.SetupConfig");

SessionSimulator::SessionSimulator(const QDBusConnection &bus, QObject *parent)
    : QObject(parent),
      m_bus(bus),
      m_session(new SimSession(bus, this)),
      m_config(new SimSetupConfig(this)),
      m_commands(new SimCommandRunner(*this, this))
{
    connect(m_commands, &SimCommandRunner::quitRequested, this, &SessionSimulator::quitRequested);
    new SessionAdaptor(m_session);
    new SetupConfigAdaptor(m_config);
    connect(m_session, &SimSession::chatTextReceived, m_commands, &SimCommandRunner::printChatTextSent);
    connect(m_session, &SimSession::transmitReceived, m_commands, &SimCommandRunner::printTransmit);
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
    m_commands->start();
    return StartResult::Ready;
}

void SessionSimulator::addLine(const QString &line)
{
    m_commands->addLine(line);
}

void SessionSimulator::flush()
{
    // Messages leave in order, so a round trip to the bus pushes out everything before it.
    m_bus.interface()->isServiceRegistered(SessionService);
}

void SessionSimulator::setNumPeers(qint32 count)
{
    m_session->setNumPeers(count);
}

void SessionSimulator::setTransmitting(bool on)
{
    m_session->setTransmitting(on);
}

void SessionSimulator::setCallsign(const QString &callsign)
{
    m_config->setCallsign(callsign);
}

void SessionSimulator::fireEvent(const QString &name, const QVariantList &arguments)
{
    m_session->emitSignal(name, arguments);
}

void SessionSimulator::fireDispId(qint32, const QVariantList &)
{
    m_commands->printError(QStringLiteral("raw-dispid: a bus has no dispatch identifiers; use raw SIGNAL"));
}

void SessionSimulator::refuseCallsFor(qint64 ms)
{
    m_session->setBusyFor(ms);
}

void SessionSimulator::die()
{
    // As a crash: no OnClosing, nothing flushed, the names dropped only by the bus.
    std::_Exit(3);
}
