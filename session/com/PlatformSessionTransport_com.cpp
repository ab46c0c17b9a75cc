#include "session/PlatformSessionTransport.h"

#include "session/com/ComSessionTransport.h"

std::unique_ptr<SessionTransport> createPlatformSessionTransport()
{
    return std::make_unique<ComSessionTransport>();
}
