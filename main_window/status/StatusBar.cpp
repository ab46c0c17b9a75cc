#include "main_window/status/StatusBar.h"

#include "main_window/display/MainWindowLayout.h"
#include "main_window/status/StationListLabel.h"
#include "main_window/status/StatusLabelView.h"
#include "main_window/status/logic/StatusColors.h"

#include <QHBoxLayout>
#include <QLabel>

StatusBar::StatusBar(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(MainWindowLayout::StatusBarHeight);

    StaticText2 = MainWindowLayout::createStatusLabel(QStringLiteral("StaticText2"), this);
    StaticText2->setText(QStringLiteral("Disconnect"));
    StaticText2->setFixedSize(86, 18);
    MainWindowLayout::setLabelColors(*StaticText2, StatusColors::Grey,
                                     MainWindowLayout::systemColor("clWindow"));

    StaticText3 = new StationListLabel(this);
    MainWindowLayout::setUpStatusLabel(*StaticText3, QStringLiteral("StaticText3"));
    StaticText3->setFixedHeight(18);
    MainWindowLayout::setLabelColors(*StaticText3, StatusColors::Yellow, StatusColors::Red);
    StaticText3->hide();

    StaticText1 = MainWindowLayout::createStatusLabel(QStringLiteral("StaticText1"), this);
    StaticText1->setText(QStringLiteral("RX"));
    StaticText1->setFixedSize(35, 20);
    MainWindowLayout::setLabelColors(*StaticText1, StatusColors::Green,
                                     MainWindowLayout::systemColor("clWindow"));
    StaticText1->hide();

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(StaticText2);
    layout->addWidget(StaticText3);
    layout->addStretch(1);
    layout->addWidget(StaticText1);
}

void StatusBar::showConnectionState(bool connected)
{
    m_linkStatus.setConnected(connected);
    showStatusLabel(*StaticText2, m_linkStatus.connection());
}

void StatusBar::receivingChanged(bool bRX)
{
    m_linkStatus.setReceiving(bRX);
    showIndicator();
}

void StatusBar::transmittingChanged(bool bTX)
{
    m_linkStatus.setTransmitting(bTX);
    showIndicator();
}

void StatusBar::stationConnected(const QString &sCall)
{
    m_linkStatus.stationConnected(sCall);
    showConnectedStations();
}

void StatusBar::stationDisconnected(const QString &sCall)
{
    m_linkStatus.stationDisconnected(sCall);
    showConnectedStations();
}

void StatusBar::serverLost()
{
    m_linkStatus.serverLost();
    showConnectedStations();
    showIndicator();
}

void StatusBar::showConnectedStations()
{
    showStatusLabel(*StaticText2, m_linkStatus.connection());
    showStatusLabel(*StaticText3, m_linkStatus.stationList());
}

void StatusBar::showIndicator()
{
    showStatusLabel(*StaticText1, m_linkStatus.indicator());
}
