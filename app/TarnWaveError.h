#pragma once

#include <QString>

#include <stdexcept>

// The one exception type of the program; the general error handler shows its message.
class TarnWaveError : public std::runtime_error
{
public:
    explicit TarnWaveError(const QString &message);

    QString message() const;
};
