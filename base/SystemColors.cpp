#include "base/SystemColors.h"

#include <algorithm>

QColor systemColor(const QString &identifier, const QPalette &palette)
{
    const auto it = std::find_if(SystemColorTable.begin(), SystemColorTable.end(),
                                 [&identifier](const SystemColorEntry &e) {
                                     return identifier == QLatin1String(e.identifier);
                                 });
    return it == SystemColorTable.end() ? QColor() : palette.color(it->group, it->role);
}
