#pragma once

#include <QSize>

// Sizes of the main window, at 96 pixels per inch.
namespace MainWindowLayout {

// The outer 500 x 330 of the classic frame (4-pixel borders, 26-pixel caption) leaves this
// client area; the minimum outer 300 x 300 likewise.
inline constexpr QSize ClientSize{492, 296};
inline constexpr QSize MinimumClientSize{292, 266};
inline constexpr int InputBarHeight = 26;
inline constexpr int StatusBarHeight = 22;
inline constexpr int StationPanelWidth = 244;

} // namespace MainWindowLayout
