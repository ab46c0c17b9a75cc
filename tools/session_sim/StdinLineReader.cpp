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
    m_buffer.append(chunk, qsizetype(n));
    qsizetype start = 0;
    for (qsizetype end = m_buffer.indexOf('\n'); end >= 0; end = m_buffer.indexOf('\n', start)) {
        Q_EMIT lineRead(QString::fromUtf8(m_buffer.constData() + start, end - start));
        start = end + 1;
    }
    m_buffer.remove(0, start);
}

void StdinLineReader::finish()
{
    // The end of input is not the end of the simulator: it keeps serving the bus.
    m_notifier->setEnabled(false);
    if (!m_buffer.isEmpty())
        Q_EMIT lineRead(QString::fromUtf8(m_buffer));
    m_buffer.clear();
    Q_EMIT finished();
}
