#include "main_window/input/InputBar.h"

#include "main_window/display/MainWindowLayout.h"

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
    Edit1->setFont(MainWindowLayout::controlFont());
    Edit1->setFixedHeight(24);
    Edit1->setMinimumWidth(200);
    connect(Edit1, &QLineEdit::returnPressed, this, &InputBar::sendRequested);

    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(84, 23);
    Button1->setAutoDefault(false);
    connect(Button1, &QPushButton::clicked, this, &InputBar::sendRequested);

    // Edit1 at left 1, Button1 at left 405, keeping its distance to the bar's right edge.
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 3, 0);
    layout->setSpacing(2);
    layout->addWidget(Edit1, 1);
    layout->addWidget(Button1);
    setTabOrder(Edit1, Button1);
}
