#include "SimSession.h"

#include <QDBusMessage>

const QString SimSession::Path = QStringLiteral("/TarnWave/TarnwaveSession");
const QString SimSession::Interface = QStringLiteral("TarnWave.TarnwaveSession");

SimSession::SimSession(const QDBusConnection &bus, QObject *parent)
    : QObject(parent), m_bus(bus)
{
}

void SimSession::setNumPeers(int count)
{
    m_numPeers = count;
}

void SimSession::setTransmitting(bool on)
{
    m_transmitting = on;
    emitSignal(QStringLiteral("OnTX"), {on});
}

void SimSession::emitSignal(const QString &name, const QVariantList &args)
{
    QDBusMessage message = QDBusMessage::createSignal(Path, Interface, name);
    message.setArguments(args);
    m_bus.send(message);
}

void SimSession::receiveChatText(const QString &text)
{
    Q_EMIT chatTextReceived(text);
}

void SimSession::receiveTransmit(bool on)
{
    Q_EMIT transmitReceived(on);
    setTransmitting(on);
}
