#pragma once

#include <QByteArray>
#include <QString>

enum class PresenceEvent { Start, Stop };

// "1," or "0," with the call sign in the local 8-bit encoding and CR LF: the whole report.
QByteArray presenceLine(PresenceEvent event, const QString &callsign);
