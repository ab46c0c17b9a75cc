#pragma once

class QLabel;
struct StatusLabelState;

// Puts a status-bar label into the state the link status decided; its text colour stays.
void showStatusLabel(QLabel &label, const StatusLabelState &state);
