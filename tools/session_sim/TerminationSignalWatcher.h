#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a Qt signal, so the process can leave through the event loop.
class TerminationSignalWatcher : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignalWatcher(QObject *parent = nullptr);
    ~TerminationSignalWatcher() override;

Q_SIGNALS:
    void terminationRequested();

private:
    static void handleSignal(int signal);

    QSocketNotifier *m_notifier = nullptr;
};
