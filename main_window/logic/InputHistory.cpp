#include "main_window/logic/InputHistory.h"

void InputHistory::add(const QString &line)
{
    if (!line.trimmed().isEmpty() && (m_lines.isEmpty() || m_lines.constLast() != line)) {
        m_lines.append(line);
        if (m_lines.size() > MaximumLines)
            m_lines.removeFirst();
    }
    resetWalk();
}

bool InputHistory::older(const QString &current, QString &shown)
{
    if (m_position == 0 || m_lines.isEmpty())
        return false;
    if (m_position >= m_lines.size())
        m_draft = current;
    --m_position;
    shown = m_lines.at(m_position);
    return true;
}

bool InputHistory::newer(QString &shown)
{
    if (m_position >= m_lines.size())
        return false;
    ++m_position;
    shown = m_position < m_lines.size() ? m_lines.at(m_position) : m_draft;
    return true;
}

void InputHistory::resetWalk()
{
    m_position = m_lines.size();
    m_draft.clear();
}
