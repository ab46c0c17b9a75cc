#pragma once

#include <QColor>

// The status bar's fixed colours, shared by the logic that picks them and the window that
// first paints the labels.
namespace StatusColors {

inline const QColor Grey{128, 128, 128};
inline const QColor Blue{0, 0, 255};
inline const QColor Green{0, 128, 0};
inline const QColor Red{255, 0, 0};
inline const QColor Yellow{255, 255, 0};

} // namespace StatusColors
