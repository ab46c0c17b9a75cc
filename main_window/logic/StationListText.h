#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The comma text of the connected stations: entries that hold a blank, a control character,
// a double quote or a comma are quoted, inner quotes doubled; a list of one empty entry gives
// "" so that it differs from an empty list. Kept up to date one entry at a time, so that a
// change to a long list costs a copy rather than quoting every entry again.
class StationListText
{
public:
    void append(const QString &entry);
    void removeAt(qsizetype index);
    QString text() const;

private:
    QString m_joined;
    // The length of each entry as written in m_joined.
    QList<qsizetype> m_entryLengths;
};

QString stationListCommaText(const QStringList &stations);
