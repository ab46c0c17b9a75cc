#pragma once

#include "SimCommandParser.h"

#include <QObject>
#include <QQueue>
#include <QString>

// Runs command lines in order: numbers them for error messages, holds later lines through a
// sleep and drops everything after quit. What a command does is SimCommandRunner's business.
class SimCommandQueue : public QObject
{
    Q_OBJECT

public:
    explicit SimCommandQueue(QObject *parent = nullptr);

    // Lines queue up until start(), so nothing runs before the objects are served.
    void start();
    void addLine(const QString &line);

Q_SIGNALS:
    // Every command but sleep and quit, synchronously, one at a time.
    void commandReady(const SimCommand &command);
    void lineFailed(const QString &message);
    void quitRequested();

private:
    struct PendingLine
    {
        int number = 0;
        QString text;
    };

    void runPending();
    // Returns false when the line suspends the queue (sleep) or ends it (quit).
    bool runLine(const PendingLine &line);

    QQueue<PendingLine> m_pending;
    int m_lineCount = 0;
    bool m_started = false;
    bool m_running = false;
    bool m_sleeping = false;
    bool m_quitting = false;
};
