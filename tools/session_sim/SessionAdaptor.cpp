#include "SessionAdaptor.h"

#include "SimSession.h"

#include <QDBusConnection>
#include <QDBusMetaType>
#include <QMetaType>

SessionAdaptor::SessionAdaptor(SimSession *session)
    : QDBusAbstractAdaptor(session), m_session(session)
{
}

int SessionAdaptor::numPeers() const
{
    return m_session->numPeers();
}

bool SessionAdaptor::transmitting() const
{
    return m_session->transmitting();
}

void SessionAdaptor::SendChatText(const QString &sText)
{
    m_session->receiveChatText(sText);
}

void SessionAdaptor::Transmit(const QDBusVariant &bTransmit, const QDBusMessage &message)
{
    const QVariant value = bTransmit.variant();
    if (value.metaType().id() != QMetaType::Bool) {
        const char *signature = QDBusMetaType::typeToSignature(value.metaType());
        message.setDelayedReply(true);
        QDBusConnection::sessionBus().send(message.createErrorReply(
            QDBusError::InvalidArgs,
            QStringLiteral("Transmit expects a variant holding a boolean (b), not \"%1\"")
                .arg(QLatin1String(signature ? signature : value.metaType().name()))));
        return;
    }
    m_session->receiveTransmit(value.toBool());
}
