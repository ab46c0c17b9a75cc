#pragma once

#include <QString>
#include <QStringList>

// The lines sent in this run, walked like a shell's history: older() and newer() step through
// them, and stepping newer past the newest brings back the draft that was being typed.
class InputHistory
{
public:
    // Blank lines are not kept, nor a repeat of the newest line; the oldest go beyond a limit.
    void add(const QString &line);

    // Each returns the text the input line should now show, or nothing when there is no step
    // to take. current is what the line holds, kept as the draft on leaving it.
    bool older(const QString &current, QString &shown);
    bool newer(QString &shown);

    // Sending ends a walk: the next older() starts from the newest line again.
    void resetWalk();

    const QStringList &lines() const { return m_lines; }
    static constexpr int MaximumLines = 1000;

private:
    QStringList m_lines;
    // m_lines.size() while not walking, else the index of the line shown.
    qsizetype m_position = 0;
    QString m_draft;
};
