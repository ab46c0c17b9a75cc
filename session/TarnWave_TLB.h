#pragma once

#include <QString>
#include <QStringView>

#include <array>

// The session server's type library: its ProgIDs, where each object lives on the bus, and the
// event table by dispatch identifier.
namespace TarnWave_TLB {

inline constexpr char SessionProgId[] = "TarnWave.TarnwaveSession";
inline constexpr char SetupConfigProgId[] = "TarnWave.SetupConfig";

// A ProgID is a well-known bus name; its object sits at the path that mirrors it, with an
// interface of the same name.
QString busName(QStringView progId);
QString objectPath(QStringView progId);
QString interfaceName(QStringView progId);

enum DispId : int {
    DispOnClosing = 1,
    DispOnDTMFString = 2,
    DispOnCarrierDetect = 3,
    DispOnRX = 4,
    DispOnTX = 5,
    DispOnPTT = 6,
    DispOnConnected = 7,
    DispOnDisconnected = 8,
    DispOnStationListReceived = 9,
    DispOnChatTextReceived = 10,
    DispOnStationTextReceived = 11,
    DispOnAlarm = 12,
    DispOnLinkStatusChange = 13,
    DispOnSerialStatus = 14,
};

// Argument types in D-Bus notation: s string, b boolean, n 16-bit integer, i 32-bit integer.
struct EventEntry
{
    int dispId;
    const char *name;
    const char *signature;
};

inline constexpr std::array<EventEntry, 14> EventTable{{
    {DispOnClosing, "OnClosing", ""},
    {DispOnDTMFString, "OnDTMFString", "s"},
    {DispOnCarrierDetect, "OnCarrierDetect", "b"},
    {DispOnRX, "OnRX", "b"},
    {DispOnTX, "OnTX", "b"},
    {DispOnPTT, "OnPTT", "b"},
    {DispOnConnected, "OnConnected", "sss"},
    {DispOnDisconnected, "OnDisconnected", "s"},
    {DispOnStationListReceived, "OnStationListReceived", ""},
    {DispOnChatTextReceived, "OnChatTextReceived", "s"},
    {DispOnStationTextReceived, "OnStationTextReceived", "s"},
    {DispOnAlarm, "OnAlarm", "sn"},
    {DispOnLinkStatusChange, "OnLinkStatusChange", "b"},
    {DispOnSerialStatus, "OnSerialStatus", "ii"},
}};

// nullptr for identifiers and names the table does not know.
const EventEntry *findEvent(int dispId);
const EventEntry *findEvent(QStringView name);

// Methods whose arguments need a particular wire type; 'v' marks a variant argument.
struct MethodEntry
{
    const char *name;
    const char *signature;
};

inline constexpr std::array<MethodEntry, 2> SessionMethods{{
    {"SendChatText", "s"},
    {"Transmit", "v"},
}};

const MethodEntry *findMethod(QStringView name);

} // namespace TarnWave_TLB
