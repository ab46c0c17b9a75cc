#pragma once

#include "session/com/ComVariant.h"

#include <QString>
#include <QVariant>

#include <string>

// Between Qt's values and automation ones, at the transport's edge. Text is UTF-16 on both
// sides and is copied as it is.
namespace VariantConversion {

std::wstring toWide(const QString &text);
QString fromWide(std::wstring_view text);

// A string, boolean or integer as the D-Bus transport would give it (QString, bool, short,
// int, ...); other types as their text; empty and null as an invalid QVariant.
QVariant toQVariant(const ComVariant &value);
// Throws TarnWaveError for a value that has no automation form.
ComVariant fromQVariant(const QVariant &value);

} // namespace VariantConversion
