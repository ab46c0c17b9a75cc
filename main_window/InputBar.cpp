#include "main_window/InputBar.h"

#include "base/widgets/ProgramLook.h"
#include "main_window/MainWindowLayout.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

InputBar::InputBar(QWidget *parent)
    : QFrame(parent)
    , Edit1(new QLineEdit(this))
    , Button1(new QPushButton(QStringLiteral("Send"), this))
{
    setObjectName(QStringLiteral("Panel1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(MainWindowLayout::InputBarHeight);

    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFont(ProgramLook::controlFont());
    Edit1->setFixedHeight(24);
    Edit1->setMinimumWidth(200);
    Edit1->setAccessibleName(QStringLiteral("Message"));
    Edit1->setAccessibleDescription(
        QStringLiteral("The chat line to send; Enter sends it, Up and Down recall sent lines"));
    connect(Edit1, &QLineEdit::returnPressed, this, &InputBar::sendRequested);

    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(84, 23);
    Button1->setAutoDefault(false);
    Button1->setAccessibleName(QStringLiteral("Send"));
    Button1->setAccessibleDescription(QStringLiteral("Sends the chat line"));
    connect(Button1, &QPushButton::clicked, this, &InputBar::sendRequested);

    // Edit1 at left 1, Button1 at left 405, keeping its distance to the bar's right edge.
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 3, 0);
    layout->setSpacing(2);
    layout->addWidget(Edit1, 1);
    layout->addWidget(Button1);
    setTabOrder(Edit1, Button1);
}
