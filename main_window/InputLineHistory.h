#pragma once

#include "main_window/logic/InputHistory.h"

#include <QObject>

class QLineEdit;

// Up and Down in the input line walk the lines sent in this run. The keys are only watched,
// never consumed: the input line has no use of its own for them.
class InputLineHistory : public QObject
{
    Q_OBJECT

public:
    explicit InputLineHistory(QLineEdit &input);

    void lineSent(const QString &line);
    const InputHistory &history() const { return m_history; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit &m_input;
    InputHistory m_history;
};
