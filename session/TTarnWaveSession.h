#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>

class SessionTransport;

// The event wrapper of the session object: joins its events and re-emits each one as a typed
// signal, dispatched by DispID through the event table.
class TTarnWaveSession : public QObject
{
    Q_OBJECT

public:
    enum class TConnectKind {
        ckRunningOrNew,     // attach to the running instance, else start one
        ckNewInstance,
        ckRunningInstance,
        ckRemote,
        ckAttachToInterface,
    };
    Q_ENUM(TConnectKind)

    explicit TTarnWaveSession(SessionTransport &transport, QObject *parent = nullptr);
    ~TTarnWaveSession() override;

    TConnectKind ConnectKind() const { return m_connectKind; }
    bool AutoConnect() const { return m_autoConnect; }
    bool AutoQuit() const { return m_autoQuit; }

    // Attaches to (or starts) the server and joins its events; throws TarnWaveError.
    void Connect() { Connect(m_connectKind); }
    // ckRunningInstance attaches only to a server that runs; any other kind may start one.
    // Joining again while joined does nothing.
    void Connect(TConnectKind kind);
    // Leaves the events; the server is never asked to quit.
    void Disconnect();
    bool isConnected() const { return m_connected; }

    // Unknown identifiers and argument lists that do not match the table are ignored.
    void dispatchEvent(int dispId, const QVariantList &args);

Q_SIGNALS:
    void OnClosing();
    void OnDTMFString(const QString &sDigits);
    void OnCarrierDetect(bool bCD);
    void OnRX(bool bRX);
    void OnTX(bool bTX);
    void OnPTT(bool bPTT);
    void OnConnected(const QString &sCall, const QString &sName, const QString &sAddr);
    void OnDisconnected(const QString &sCall);
    void OnStationListReceived();
    void OnChatTextReceived(const QString &sText);
    void OnStationTextReceived(const QString &sText);
    void OnAlarm(const QString &sStation, short nStatus);
    void OnLinkStatusChange(bool bEnabled);
    void OnSerialStatus(int nEvent, int nStatus);

private:
    // The transport has dropped the server; what it sent before still comes through, and
    // Connect joins again.
    void serverLost() { m_connected = false; }
    void onTransportEvent(const QString &progId, const QString &eventName, const QVariantList &args);

    SessionTransport &m_transport;
    const TConnectKind m_connectKind = TConnectKind::ckRunningOrNew;
    const bool m_autoConnect = false;
    const bool m_autoQuit = false;
    bool m_connected = false;
    // Between Connect and Disconnect, whether or not the server is still there.
    bool m_listening = false;
};
