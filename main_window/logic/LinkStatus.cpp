#include "main_window/logic/LinkStatus.h"

#include "main_window/logic/StatusColors.h"

#include <algorithm>

using namespace StatusColors;

void LinkStatus::setReceiving(bool receiving)
{
    m_receiving = receiving;
    m_lastReported = Direction::Receive;
}

void LinkStatus::setTransmitting(bool transmitting)
{
    m_transmitting = transmitting;
    m_lastReported = Direction::Transmit;
}

void LinkStatus::setConnected(bool connected)
{
    m_connected = connected;
}

void LinkStatus::stationConnected(const QString &callsign)
{
    ConnectedStations.append(callsign);
    m_listText.append(callsign);
    m_connected = true;
}

void LinkStatus::stationDisconnected(const QString &callsign)
{
    const auto entry = std::find_if(ConnectedStations.cbegin(), ConnectedStations.cend(),
                                    [&callsign](const QString &station) {
                                        return station.compare(callsign, Qt::CaseInsensitive) == 0;
                                    });
    if (entry != ConnectedStations.cend()) {
        const qsizetype index = entry - ConnectedStations.cbegin();
        ConnectedStations.removeAt(index);
        m_listText.removeAt(index);
    }
    if (ConnectedStations.isEmpty())
        m_connected = false;
}

void LinkStatus::serverLost()
{
    *this = LinkStatus();
}

StatusLabelState LinkStatus::indicator() const
{
    if (m_transmitting)
        return {QStringLiteral("TX"), Red, true};
    if (m_receiving)
        return {QStringLiteral("RX"), Green, true};
    if (m_lastReported == Direction::Transmit)
        return {QStringLiteral("TX"), Red, false};
    return {QStringLiteral("RX"), Green, false};
}

StatusLabelState LinkStatus::connection() const
{
    if (m_connected)
        return {QStringLiteral("Connected"), Blue, true};
    return {QStringLiteral("Disconnect"), Grey, true};
}

StatusLabelState LinkStatus::stationList() const
{
    // An unknown call sign leaves the label alone; only an empty list hides it.
    return {m_listText.text(), Yellow, !ConnectedStations.isEmpty()};
}
