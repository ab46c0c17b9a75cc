#include "options/logic/NamedColors.h"

#include "base/SystemColors.h"

#include <QPalette>

#include <array>

namespace {

struct FixedColor
{
    const char *identifier;
    int red;
    int green;
    int blue;
};

constexpr std::array<FixedColor, 20> FixedColors{{
    {"clBlack", 0, 0, 0},
    {"clMaroon", 128, 0, 0},
    {"clGreen", 0, 128, 0},
    {"clOlive", 128, 128, 0},
    {"clNavy", 0, 0, 128},
    {"clPurple", 128, 0, 128},
    {"clTeal", 0, 128, 128},
    {"clGray", 128, 128, 128},
    {"clSilver", 192, 192, 192},
    {"clRed", 255, 0, 0},
    {"clLime", 0, 255, 0},
    {"clYellow", 255, 255, 0},
    {"clBlue", 0, 0, 255},
    {"clFuchsia", 255, 0, 255},
    {"clAqua", 0, 255, 255},
    {"clWhite", 255, 255, 255},
    {"clMoneyGreen", 192, 220, 192},
    {"clSkyBlue", 166, 202, 240},
    {"clCream", 255, 251, 240},
    {"clMedGray", 160, 160, 164},
}};

} // namespace

QList<NamedColor> namedColors(const QPalette &palette)
{
    QList<NamedColor> colors;
    colors.reserve(int(FixedColors.size() + SystemColorTable.size()));
    for (const FixedColor &fixed : FixedColors) {
        colors.append({QString::fromLatin1(fixed.identifier), QColor(fixed.red, fixed.green, fixed.blue)});
    }
    for (const SystemColorEntry &system : SystemColorTable) {
        colors.append({QString::fromLatin1(system.identifier), palette.color(system.group, system.role)});
    }
    return colors;
}
