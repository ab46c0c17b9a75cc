#pragma once

#include <QString>

#include <stdexcept>

// The one exception type of the program; the general error handler shows its message.
class TarnWaveError : public std::runtime_error
{
public:
    explicit TarnWaveError(const QString &message);

    // The message as given: what() is a C string, which ends at the first NUL a server's
    // error text may hold.
    QString message() const;

private:
    QString m_message;
};
