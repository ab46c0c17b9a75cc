#pragma once

#include "SimServer.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

class SimCommandRunner;
class SimSession;
class SimSetupConfig;

// Serves both bus names and runs the command language against them, one line at a time.
class SessionSimulator : public QObject, private SimServer
{
    Q_OBJECT

public:
    static const QString SessionService;
    static const QString ConfigService;

    enum class StartResult { Ready, AlreadyRunning, Failed };

    explicit SessionSimulator(const QDBusConnection &bus, QObject *parent = nullptr);

    // Exports the objects, then claims the names; on failure *message says why.
    StartResult start(QString *message);

    // Queues a line; it runs once every earlier line (and any sleep) has finished.
    void addLine(const QString &line);

    // Makes sure every signal already emitted has left for the bus before the process ends.
    void flush();

Q_SIGNALS:
    void quitRequested();

private:
    void setNumPeers(qint32 count) override;
    void setTransmitting(bool on) override;
    void setCallsign(const QString &callsign) override;
    void fireEvent(const QString &name, const QVariantList &arguments) override;
    void fireDispId(qint32 dispId, const QVariantList &arguments) override;
    void refuseCallsFor(qint64 ms) override;
    void die() override;

    QDBusConnection m_bus;
    SimSession *m_session = nullptr;
    SimSetupConfig *m_config = nullptr;
    SimCommandRunner *m_commands = nullptr;
};
