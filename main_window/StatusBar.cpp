#include "main_window/StatusBar.h"

#include "base/widgets/ProgramLook.h"
#include "base/widgets/StatusLabelAccessible.h"
#include "main_window/MainWindowLayout.h"
#include "main_window/StationListLabel.h"
#include "main_window/logic/StatusColors.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {

// Puts a status-bar label into the state the link status decided; its text colour stays.
void showStatusLabel(QLabel &label, const StatusLabelState &state)
{
    label.setText(state.caption);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, state.background);
    label.setPalette(palette);
    label.setVisible(state.visible);
}

} // namespace

StatusBar::StatusBar(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel2"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(MainWindowLayout::StatusBarHeight);

    // Captions, backgrounds and visibility come from the link status, below.
    StaticText2 = ProgramLook::createStatusLabel(QStringLiteral("StaticText2"), this);
    StaticText2->setFixedSize(86, 18);
    ProgramLook::setLabelTextColor(*StaticText2, ProgramLook::systemColor("clWindow"));
    StaticText2->setAccessibleName(QStringLiteral("Connection"));
    StaticText2->setAccessibleDescription(QStringLiteral("Whether any station is connected"));

    StaticText3 = new StationListLabel(this);
    ProgramLook::setUpStatusLabel(*StaticText3, QStringLiteral("StaticText3"));
    StaticText3->setFixedHeight(18);
    ProgramLook::setLabelTextColor(*StaticText3, StatusColors::Red);
    StaticText3->setAccessibleName(QStringLiteral("Connected stations"));
    StaticText3->setAccessibleDescription(QStringLiteral("The call signs of the connected stations"));

    StaticText1 = ProgramLook::createStatusLabel(QStringLiteral("StaticText1"), this);
    StaticText1->setFixedSize(35, 20);
    ProgramLook::setLabelTextColor(*StaticText1, ProgramLook::systemColor("clWindow"));
    StaticText1->setAccessibleName(QStringLiteral("Receive or transmit"));
    StaticText1->setAccessibleDescription(QStringLiteral("Shows RX while receiving and TX while transmitting"));

    for (QLabel *label : {StaticText2, StaticText3, StaticText1})
        StatusLabelAccessible::watch(*label);
    showConnectedStations();
    showIndicator();

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
