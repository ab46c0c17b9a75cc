#include "session/PlatformSessionTransport.h"

#include "session/dbus/DBusSessionTransport.h"

std::unique_ptr<SessionTransport> createPlatformSessionTransport()
{
    return std::make_unique<DBusSessionTransport>(DBusSessionTransport::sessionBus());
}
