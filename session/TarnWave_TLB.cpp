#include "session/TarnWave_TLB.h"

#include <algorithm>

namespace TarnWave_TLB {

QString busName(QStringView progId)
{
    return progId.toString();
}

QString objectPath(QStringView progId)
{
    QString path = QLatin1Char('/') + progId.toString();
    path.replace(QLatin1Char('.'), QLatin1Char('/'));
    return path;
}

QString interfaceName(QStringView progId)
{
    return progId.toString();
}

const EventEntry *findEvent(int dispId)
{
    const auto it = std::find_if(EventTable.begin(), EventTable.end(),
                                 [dispId](const EventEntry &e) { return e.dispId == dispId; });
    return it == EventTable.end() ? nullptr : &*it;
}

const EventEntry *findEvent(QStringView name)
{
    const auto it = std::find_if(EventTable.begin(), EventTable.end(), [name](const EventEntry &e) {
        return name == QLatin1String(e.name);
    });
    return it == EventTable.end() ? nullptr : &*it;
}

const MethodEntry *findMethod(QStringView name)
{
    const auto it = std::find_if(SessionMethods.begin(), SessionMethods.end(),
                                 [name](const MethodEntry &m) { return name == QLatin1String(m.name); });
    return it == SessionMethods.end() ? nullptr : &*it;
}

} // namespace TarnWave_TLB
