#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// A named pipe for commands, so tests can drive a simulator that COM started without any
// useful standard input. Each client writes command lines and reads back every line the
// simulator prints from the moment it connected.
class PipeCommandServer : public QObject
{
    Q_OBJECT

public:
    static const QString DefaultName;

    explicit PipeCommandServer(QObject *parent = nullptr);

    bool listen(const QString &name, QString *message);
    void send(const QString &line);
    // Waits a little for what is still queued to reach the clients, before the process ends.
    void flush();

Q_SIGNALS:
    void lineReceived(const QString &line);

private:
    void acceptClients();
    void readLines(QLocalSocket *client);

    QLocalServer *m_server = nullptr;
    QList<QLocalSocket *> m_clients;
};
