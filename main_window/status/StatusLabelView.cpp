#include "main_window/status/StatusLabelView.h"

#include "main_window/status/logic/LinkStatus.h"

#include <QLabel>

void showStatusLabel(QLabel &label, const StatusLabelState &state)
{
    label.setText(state.caption);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, state.background);
    label.setPalette(palette);
    label.setVisible(state.visible);
}
