#include "SimLineBuffer.h"

#include <QFile>

QStringList SimLineBuffer::add(QByteArrayView bytes)
{
    m_pending.append(bytes);
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n', start)) {
        lines.append(QString::fromUtf8(m_pending.constData() + start, end - start));
        start = end + 1;
    }
    m_pending.remove(0, start);
    return lines;
}

QStringList SimLineBuffer::finish()
{
    QStringList lines;
    if (!m_pending.isEmpty())
        lines.append(QString::fromUtf8(m_pending));
    m_pending.clear();
    return lines;
}

bool SimLineBuffer::readScript(const QString &path, QStringList *lines, QString *error)
{
    QFile script(path);
    if (!script.open(QIODevice::ReadOnly)) {
        *error = script.errorString();
        return false;
    }
    SimLineBuffer buffer;
    *lines = buffer.add(script.readAll());
    *lines += buffer.finish();
    return true;
}
