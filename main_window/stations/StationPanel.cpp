#include "main_window/stations/StationPanel.h"

#include "main_window/display/MainWindowLayout.h"
#include "main_window/stations/logic/StationTextLines.h"
#include "main_window/stations/logic/StationTextWrap.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

StationPanel::StationPanel(QWidget *parent)
    : QFrame(parent)
    , StationWindow(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("Panel3"));
    setFrameShape(QFrame::NoFrame);
    setFixedWidth(MainWindowLayout::StationPanelWidth);

    StationWindow->setObjectName(QStringLiteral("StationWindow"));
    MainWindowLayout::setUpReadingView(*StationWindow);
    QPalette palette = StationWindow->palette();
    palette.setColor(QPalette::Base, MainWindowLayout::systemColor("clActiveBorder"));
    StationWindow->setPalette(palette);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StationWindow);
}

void StationPanel::showStationText(const QString &sText)
{
    StationLines = splitStationText(sText);
    StationWindow->setWordWrapMode(stationTextWrapMode(StationLines));
    // Plain text, one block per line; the caret at the start shows the beginning.
    StationWindow->setPlainText(StationLines.join(u'\n'));
    StationWindow->moveCursor(QTextCursor::Start);
}
