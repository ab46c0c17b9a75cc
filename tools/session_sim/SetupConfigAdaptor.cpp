#include "SetupConfigAdaptor.h"

#include "SimSetupConfig.h"

SetupConfigAdaptor::SetupConfigAdaptor(SimSetupConfig *config)
    : QDBusAbstractAdaptor(config), m_config(config)
{
}

QString SetupConfigAdaptor::callsign() const
{
    return m_config->callsign();
}
