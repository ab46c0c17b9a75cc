#pragma once

#include "SimLineBuffer.h"

#include <QObject>
#include <QString>

class QSocketNotifier;

// Reads standard input without blocking the event loop, so the bus is served while waiting.
class StdinLineReader : public QObject
{
    Q_OBJECT

public:
    explicit StdinLineReader(QObject *parent = nullptr);

Q_SIGNALS:
    void lineRead(const QString &line);
    void finished();

private:
    void readAvailable();
    void finish();

    QSocketNotifier *m_notifier = nullptr;
    SimLineBuffer m_buffer;
};
