#include "StdinLineReader.h"

#include <QSocketNotifier>

#include <cerrno>
#include <unistd.h>

StdinLineReader::StdinLineReader(QObject *parent)
    : QObject(parent),
      m_notifier(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, &StdinLineReader::readAvailable);
}

void StdinLineReader::readAvailable()
{
    char chunk[65536];
    const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        finish();
        return;
    }
    for (const QString &line : m_buffer.add(QByteArrayView(chunk, qsizetype(n))))
        Q_EMIT lineRead(line);
}

void StdinLineReader::finish()
{
    // The end of input is not the end of the simulator: it keeps serving the bus.
    m_notifier->setEnabled(false);
    for (const QString &line : m_buffer.finish())
        Q_EMIT lineRead(line);
    Q_EMIT finished();
}
