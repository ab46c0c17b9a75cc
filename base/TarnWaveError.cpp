#include "base/TarnWaveError.h"

TarnWaveError::TarnWaveError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

QString TarnWaveError::message() const
{
    return m_message;
}
