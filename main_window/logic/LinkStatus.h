#pragma once

#include "main_window/logic/StationListText.h"

#include <QColor>
#include <QString>
#include <QStringList>

// What one status-bar label shows.
struct StatusLabelState
{
    QString caption;
    QColor background;
    bool visible = false;
};

// The status bar's state as the session server's events leave it: the RX/TX indicator, the
// connection label and the station list label. The window only renders what it says.
class LinkStatus
{
public:
    void setReceiving(bool receiving);
    void setTransmitting(bool transmitting);

    // The connection as start-up reads it from the peer count, before any station event.
    void setConnected(bool connected);
    void stationConnected(const QString &callsign);
    // Removes the first entry equal to callsign in any letter case, if there is one.
    void stationDisconnected(const QString &callsign);
    // The session server went away: nothing it reported holds any more.
    void serverLost();

    // A keyed transmitter always shows, whatever the receiver reported last.
    StatusLabelState indicator() const;
    StatusLabelState connection() const;
    StatusLabelState stationList() const;

private:
    enum class Direction { Receive, Transmit };

    bool m_receiving = false;
    bool m_transmitting = false;
    // Decides the caption left on the hidden indicator.
    Direction m_lastReported = Direction::Receive;
    bool m_connected = false;
    // Call signs in order of arrival, duplicates allowed.
    QStringList ConnectedStations;
    StationListText m_listText;
};
