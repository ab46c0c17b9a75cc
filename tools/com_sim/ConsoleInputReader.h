#pragma once

#include <QString>
#include <QThread>

#include <atomic>

// Reads standard input on a thread of its own, since Windows cannot wait for a console or a
// pipe in the event loop; lines arrive as queued signals on the owner's thread.
class ConsoleInputReader : public QThread
{
    Q_OBJECT

public:
    explicit ConsoleInputReader(QObject *parent = nullptr);
    ~ConsoleInputReader() override;

Q_SIGNALS:
    void lineRead(const QString &line);

protected:
    void run() override;

private:
    std::atomic<unsigned long> m_threadId{0};
};
