#pragma once

class QLabel;
class QWidget;

// Accessible names and descriptions, so a screen reader can tell the controls apart.
namespace AccessibleControls {

// The main window's controls, found by their object names.
void describeMainWindow(QWidget &window);
// The Options dialog's controls, found by their object names.
void describeOptionsDialog(QWidget &dialog);

// A status label named for its role ("Connection") that still offers its caption
// ("Connected") as its text, and reports the caption's changes.
void exposeStatusText(QLabel &label);

} // namespace AccessibleControls
