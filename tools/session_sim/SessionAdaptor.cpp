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

bool SessionAdaptor::refused(const QDBusMessage &message, const QString &errorName, const QString &text)
{
    message.setDelayedReply(true);
    QDBusConnection::sessionBus().send(message.createErrorReply(errorName, text));
    return true;
}

bool SessionAdaptor::refusedAsBusy(const QDBusMessage &message)
{
    // What a server in a modal state answers: the call was not run, so it may be sent again.
    return m_session->isBusy()
        && refused(message, QStringLiteral("TarnWave.Error.Busy"),
                   QStringLiteral("The session server is busy; try again later"));
}

void SessionAdaptor::SendChatText(const QString &sText, const QDBusMessage &message)
{
    if (refusedAsBusy(message))
        return;
    m_session->receiveChatText(sText);
}

void SessionAdaptor::Transmit(const QDBusVariant &bTransmit, const QDBusMessage &message)
{
    if (refusedAsBusy(message))
        return;
    const QVariant value = bTransmit.variant();
    if (value.metaType().id() != QMetaType::Bool) {
        const char *signature = QDBusMetaType::typeToSignature(value.metaType());
        refused(message, QDBusError::errorString(QDBusError::InvalidArgs),
                QStringLiteral("Transmit expects a variant holding a boolean (b), not \"%1\"")
                    .arg(QLatin1String(signature ? signature : value.metaType().name())));
        return;
    }
    m_session->receiveTransmit(value.toBool());
}
