#include "SimSetupConfig.h"

const QString SimSetupConfig::Path = QStringLiteral("/TarnWave/SetupConfig");

SimSetupConfig::SimSetupConfig(QObject *parent)
    : QObject(parent)
{
}

void SimSetupConfig::setCallsign(const QString &callsign)
{
    m_callsign = callsign;
}
