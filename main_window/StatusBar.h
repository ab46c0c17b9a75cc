#pragma once

#include "main_window/logic/LinkStatus.h"

#include <QFrame>

class QLabel;

// The status bar: the connection label, the list of connected stations and the RX/TX
// indicator, showing what the link status decides from the session server's events.
class StatusBar : public QFrame
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget *parent = nullptr);

    // The connection as start-up reads it from the peer count.
    void showConnectionState(bool connected);
    void receivingChanged(bool bRX);
    void transmittingChanged(bool bTX);
    void stationConnected(const QString &sCall);
    void stationDisconnected(const QString &sCall);
    // "Disconnect" on grey, the station list and the RX/TX indicator hidden.
    void serverLost();

private:
    void showConnectedStations();
    void showIndicator();

    // Holds ConnectedStations; created with the window, so no event finds it missing.
    LinkStatus m_linkStatus;
    QLabel *StaticText1 = nullptr;
    QLabel *StaticText2 = nullptr;
    QLabel *StaticText3 = nullptr;
};
