#include "base/ApplicationIdentity.h"

#include "base/FontSubstitutes.h"
#include "base/ProgramConstants.h"

#include <QGuiApplication>

void setApplicationIdentity()
{
    QGuiApplication::setApplicationName(QStringLiteral("tarnwave-chat"));
    QGuiApplication::setApplicationVersion(QString::fromLatin1(ProgramConstants::ProgramVersion));
    QGuiApplication::setDesktopFileName(QStringLiteral("tarnwave-chat"));
    substituteProgramFace();
}
