#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusMessage>
#include <QDBusVariant>

class SimSession;

// The TarnWave.TarnwaveSession interface. It declares no Qt signals on purpose: QtDBus would
// relay them to the bus, and every signal here is sent by hand from SimSession.
class SessionAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "TarnWave.TarnwaveSession")
    // Kept identical to TarnWave.TarnwaveSession.xml; tst_simulator compares the two.
    Q_CLASSINFO("D-Bus Introspection", ""
    "  <interface name=\"TarnWave.TarnwaveSession\">\n"
    "    <property name=\"NumPeers\" type=\"i\" access=\"read\"/>\n"
    "    <property name=\"Transmitting\" type=\"b\" access=\"read\"/>\n"
    "    <method name=\"SendChatText\">\n"
    "      <arg name=\"sText\" type=\"s\" direction=\"in\"/>\n"
    "    </method>\n"
    "    <method name=\"Transmit\">\n"
    "      <arg name=\"bTransmit\" type=\"v\" direction=\"in\"/>\n"
    "    </method>\n"
    "    <signal name=\"OnClosing\"/>\n"
    "    <signal name=\"OnDTMFString\">\n"
    "      <arg name=\"sDigits\" type=\"s\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnCarrierDetect\">\n"
    "      <arg name=\"bCD\" type=\"b\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnRX\">\n"
    "      <arg name=\"bRX\" type=\"b\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnTX\">\n"
    "      <arg name=\"bTX\" type=\"b\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnPTT\">\n"
    "      <arg name=\"bPTT\" type=\"b\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnConnected\">\n"
    "      <arg name=\"sCall\" type=\"s\"/>\n"
    "      <arg name=\"sName\" type=\"s\"/>\n"
    "      <arg name=\"sAddr\" type=\"s\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnDisconnected\">\n"
    "      <arg name=\"sCall\" type=\"s\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnStationListReceived\"/>\n"
    "    <signal name=\"OnChatTextReceived\">\n"
    "      <arg name=\"sText\" type=\"s\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnStationTextReceived\">\n"
    "      <arg name=\"sText\" type=\"s\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnAlarm\">\n"
    "      <arg name=\"sStation\" type=\"s\"/>\n"
    "      <arg name=\"nStatus\" type=\"n\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnLinkStatusChange\">\n"
    "      <arg name=\"bEnabled\" type=\"b\"/>\n"
    "    </signal>\n"
    "    <signal name=\"OnSerialStatus\">\n"
    "      <arg name=\"nEvent\" type=\"i\"/>\n"
    "      <arg name=\"nStatus\" type=\"i\"/>\n"
    "    </signal>\n"
    "  </interface>\n")
    Q_PROPERTY(int NumPeers READ numPeers)
    Q_PROPERTY(bool Transmitting READ transmitting)

public:
    explicit SessionAdaptor(SimSession *session);

    int numPeers() const;
    bool transmitting() const;

public Q_SLOTS:
    void SendChatText(const QString &sText, const QDBusMessage &message);
    // The trailing message lets the slot answer a wrongly typed variant with an error.
    void Transmit(const QDBusVariant &bTransmit, const QDBusMessage &message);

private:
    // Answers a call with an error instead of running it; true when it did.
    static bool refused(const QDBusMessage &message, const QString &errorName, const QString &text);
    bool refusedAsBusy(const QDBusMessage &message);

private:
    SimSession *m_session = nullptr;
};
