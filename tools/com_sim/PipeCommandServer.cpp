#include "PipeCommandServer.h"

#include <QLocalServer>
#include <QLocalSocket>

const QString PipeCommandServer::DefaultName = QStringLiteral("\\\\.\\pipe\\TarnWave.SessionSim");

PipeCommandServer::PipeCommandServer(QObject *parent) : QObject(parent), m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &PipeCommandServer::acceptClients);
}

bool PipeCommandServer::listen(const QString &name, QString *message)
{
    if (m_server->listen(name))
        return true;
    *message = QStringLiteral("cannot listen on %1: %2").arg(name, m_server->errorString());
    return false;
}

void PipeCommandServer::send(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    for (QLocalSocket *client : std::as_const(m_clients))
        client->write(bytes);
}

void PipeCommandServer::flush()
{
    for (QLocalSocket *client : std::as_const(m_clients)) {
        if (client->bytesToWrite() > 0)
            client->waitForBytesWritten(1000);
    }
}

void PipeCommandServer::acceptClients()
{
    while (QLocalSocket *client = m_server->nextPendingConnection()) {
        m_clients.append(client);
        connect(client, &QLocalSocket::readyRead, this, [this, client] { readLines(client); });
        connect(client, &QLocalSocket::disconnected, this, [this, client] {
            m_clients.removeOne(client);
            client->deleteLater();
        });
    }
}

void PipeCommandServer::readLines(QLocalSocket *client)
{
    while (client->canReadLine()) {
        QByteArray line = client->readLine();
        line.chop(1);
        Q_EMIT lineReceived(QString::fromUtf8(line));
    }
}
