#include "main_window/logic/StationListText.h"

#include <algorithm>
#include <numeric>

namespace {

bool needsQuotes(const QString &entry)
{
    return std::any_of(entry.cbegin(), entry.cend(), [](QChar c) {
        const char16_t code = c.unicode();
        return (code >= 1 && code <= 32) || code == u'"' || code == u',';
    });
}

QString entryText(const QString &entry)
{
    if (!needsQuotes(entry))
        return entry;
    return u'"' + QString(entry).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

void StationListText::append(const QString &entry)
{
    const QString written = entryText(entry);
    if (!m_entryLengths.isEmpty())
        m_joined += u',';
    m_joined += written;
    m_entryLengths.append(written.size());
}

void StationListText::removeAt(qsizetype index)
{
    const qsizetype offset = std::accumulate(m_entryLengths.cbegin(), m_entryLengths.cbegin() + index,
                                             qsizetype(0)) + index;
    const qsizetype length = m_entryLengths.at(index);
    if (m_entryLengths.size() == 1)
        m_joined.clear();
    else if (index == 0)
        m_joined.remove(0, length + 1);  // with the comma after it
    else
        m_joined.remove(offset - 1, length + 1);  // with the comma before it
    m_entryLengths.removeAt(index);
}

QString StationListText::text() const
{
    if (m_entryLengths.size() == 1 && m_joined.isEmpty())
        return QStringLiteral("\"\"");
    return m_joined;
}

QString stationListCommaText(const QStringList &stations)
{
    StationListText text;
    for (const QString &station : stations)
        text.append(station);
    return text.text();
}
