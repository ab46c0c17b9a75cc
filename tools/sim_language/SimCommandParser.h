#pragma once

#include <QString>
#include <QStringView>
#include <QVariantList>

// One simulator command with its arguments checked and escapes resolved.
struct SimCommand
{
    enum class Kind {
        Connect, Disconnect, Chat, StationText, Rx, Tx, Ptt, CarrierDetect, Peers, Callsign,
        Dtmf, Alarm, Link, Serial, StationList, Closing, Sleep, Quit,
        FloodChat, FloodConnect, Hang, Busy, Die, Raw, RawDispId, Echo
    };

    Kind kind = Kind::Quit;
    QString call;          // connect, disconnect, alarm (the station)
    QString name;          // connect; the signal name for raw
    QString addr;          // connect
    QString text;          // chat, station-text, callsign, dtmf, echo, flood-chat
    bool on = false;       // rx, tx, ptt, cd, link
    qint64 number = 0;     // peers, alarm status, serial event, sleep, hang, busy, flood counts, raw-dispid
    qint64 number2 = 0;    // serial status
    QVariantList rawArgs;  // raw, raw-dispid, already typed for marshalling
};

struct SimParseResult
{
    enum class Status { Ignored, Command, Error };

    Status status = Status::Ignored;
    SimCommand command;
    QString error;
};

// Turns one line of the command language into a command; no D-Bus or COM here, so both
// simulators share it and it can be tested and fuzzed on its own.
class SimCommandParser
{
public:
    static SimParseResult parse(QStringView line);

    // Resolves \r \n \t \\ \xHH \u{H..}; on failure returns a null string and sets *error.
    static QString unescape(QStringView text, QString *error);

    // Escapes \, CR and LF so that any text prints as one line (the inverse of unescape).
    static QString escapeLine(QStringView text);

    // The message printed for a bad line, naming its number and the line itself.
    static QString describeError(int lineNumber, QStringView line, const QString &error);
};
