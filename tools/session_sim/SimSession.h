#pragma once

#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QObject>
#include <QString>
#include <QVariantList>

// The object exported at /TarnWave/TarnwaveSession: the session state and its signals.
class SimSession : public QObject
{
    Q_OBJECT

public:
    static const QString Path;
    static const QString Interface;

    explicit SimSession(const QDBusConnection &bus, QObject *parent = nullptr);

    int numPeers() const { return m_numPeers; }
    void setNumPeers(int count);
    bool transmitting() const { return m_transmitting; }
    void setTransmitting(bool on);
    // Calls are refused for the next ms milliseconds.
    void setBusyFor(qint64 ms) { m_busyUntil = QDeadlineTimer(ms); }
    bool isBusy() const { return !m_busyUntil.hasExpired(); }

    // Sent as raw messages so that tests can also produce signatures no real server would.
    void emitSignal(const QString &name, const QVariantList &args = {});

    // Called by the adaptor for incoming D-Bus method calls.
    void receiveChatText(const QString &text);
    void receiveTransmit(bool on);

Q_SIGNALS:
    void chatTextReceived(const QString &text);
    void transmitReceived(bool on);

private:
    QDBusConnection m_bus;
    int m_numPeers = 0;
    bool m_transmitting = false;
    QDeadlineTimer m_busyUntil{0};
};
