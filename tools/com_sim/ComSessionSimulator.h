#pragma once

#include "ComSimSession.h"
#include "ComSimSetupConfig.h"
#include "ServedClass.h"
#include "SimCallObserver.h"
#include "SimServer.h"

#include "session/com/ComPtr.h"

#include <QDeadlineTimer>
#include <QObject>
#include <QString>

class SimCommandRunner;

// Serves both objects to other processes and runs the command language against them, one
// line at a time, printing what clients call.
class ComSessionSimulator : public QObject, private SimCallObserver, private SimServer
{
    Q_OBJECT

public:
    explicit ComSessionSimulator(const ComPtr<ITypeLib> &library, QObject *parent = nullptr);
    ~ComSessionSimulator() override;

    // Creates the objects and offers them to other processes; on failure *message says why.
    bool start(QString *message);
    // Withdraws both objects and cuts their clients off.
    void stop();

    // Queues a line; it runs once every earlier line (and any sleep) has finished.
    void addLine(const QString &line);

    // How the simulator words a failed call in its output: the system's text without its
    // full stop, then the code, e.g. "Class not registered (0x80040154)".
    static QString errorText(HRESULT code);

Q_SIGNALS:
    // Everything printed, on standard output or standard error, for the command pipe.
    void printed(const QString &line);
    void quitRequested();

private:
    void setNumPeers(qint32 count) override;
    void setTransmitting(bool on) override;
    void setCallsign(const QString &callsign) override;
    void fireEvent(const QString &name, const QVariantList &arguments) override;
    void fireDispId(qint32 dispId, const QVariantList &arguments) override;
    void refuseCallsFor(qint64 ms) override;
    void die() override;

    bool refusesCalls() const override;
    void propertyRead(const wchar_t *name) override;
    void chatTextSent(const std::wstring &text) override;
    void transmitRequested(bool on) override;
    void sinkAdvised(DWORD cookie) override;
    void sinkUnadvised(DWORD cookie) override;
    void sinkDropped(DWORD cookie, HRESULT reason) override;
    void sinkFailed(DWORD cookie, DISPID event, HRESULT reason) override;

    ComPtr<ITypeLib> m_library;
    ComPtr<ComSimSession> m_session;
    ComPtr<ComSimSetupConfig> m_config;
    ServedClass m_servedConfig;
    ServedClass m_servedSession;
    SimCommandRunner *m_commands = nullptr;
    // Expired unless a busy command runs.
    QDeadlineTimer m_busyUntil;
};
