#pragma once

#include <QDBusAbstractAdaptor>
#include <QString>

class SimSetupConfig;

// The TarnWave.SetupConfig interface: the configured call sign, read-only.
class SetupConfigAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "TarnWave.SetupConfig")
    // Kept identical to TarnWave.SetupConfig.xml; tst_simulator compares the two.
    Q_CLASSINFO("D-Bus Introspection", ""
    "  <interface name=\"TarnWave.SetupConfig\">\n"
    "    <property name=\"Callsign\" type=\"s\" access=\"read\"/>\n"
    "  </interface>\n")
    Q_PROPERTY(QString Callsign READ callsign)

public:
    explicit SetupConfigAdaptor(SimSetupConfig *config);

    QString callsign() const;

private:
    SimSetupConfig *m_config = nullptr;
};
