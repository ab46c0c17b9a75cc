#include "app/TarnWaveError.h"

TarnWaveError::TarnWaveError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

QString TarnWaveError::message() const
{
    return QString::fromUtf8(what());
}
