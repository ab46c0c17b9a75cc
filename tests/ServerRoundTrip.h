#pragma once

#include <QDBusConnection>
#include <QDBusMessage>

// Asks the session server for a property over connection, without starting one, and returns
// whether it answered. The bus keeps one sender's messages in order, so by then everything the
// server sent this connection before it answered has arrived and been queued for its receivers,
// and everything sent on connection before the call has reached the server.
[[nodiscard]] inline bool roundTripToSessionServer(const QDBusConnection &connection)
{
    const QString session = QStringLiteral("TarnWave.TarnwaveSession");
    QDBusMessage call = QDBusMessage::createMethodCall(session, QStringLiteral("/TarnWave/TarnwaveSession"),
                                                       QStringLiteral("org.freedesktop.DBus.Properties"),
                                                       QStringLiteral("Get"));
    call << session << QStringLiteral("NumPeers");
    call.setAutoStartService(false);
    return connection.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}
