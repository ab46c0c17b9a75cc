#pragma once

#include <QFrame>

class QLineEdit;
class QPushButton;

// The input bar under the transcript: the input line and "Send". Enter in the line and a
// click on the button both ask for the line to be sent.
class InputBar : public QFrame
{
    Q_OBJECT

public:
    explicit InputBar(QWidget *parent = nullptr);

    QLineEdit *line() const { return Edit1; }

Q_SIGNALS:
    void sendRequested();

private:
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
};
