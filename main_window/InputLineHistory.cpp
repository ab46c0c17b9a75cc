#include "main_window/InputLineHistory.h"

#include <QKeyEvent>
#include <QLineEdit>

InputLineHistory::InputLineHistory(QLineEdit &input)
    : QObject(&input)
    , m_input(input)
{
    setObjectName(QStringLiteral("InputLineHistory"));
    m_input.installEventFilter(this);
}

void InputLineHistory::lineSent(const QString &line)
{
    m_history.add(line);
}

bool InputLineHistory::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &m_input && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier) {
            QString shown;
            if (key->key() == Qt::Key_Up && m_history.older(m_input.text(), shown))
                m_input.setText(shown);
            else if (key->key() == Qt::Key_Down && m_history.newer(shown))
                m_input.setText(shown);
        }
    }
    return QObject::eventFilter(watched, event);
}
