#pragma once

#include "base/ProgramConstants.h"

#include <QString>

// Where presence reports go. Fixed for the operator; tests point it at a local listener.
struct PresenceEndpoint
{
    QString host = QString::fromLatin1(ProgramConstants::PresenceHost);
    quint16 port = ProgramConstants::PresencePort;
};
