#pragma once

#include "presence/PresenceEndpoint.h"

// Where test windows send presence reports: a closed port on this machine. The maker's server
// would mean a name lookup per window, and an unanswered one holds the process at exit.
inline PresenceEndpoint localPresence()
{
    return {QStringLiteral("127.0.0.1"), 9};
}
