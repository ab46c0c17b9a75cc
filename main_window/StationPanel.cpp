#include "main_window/StationPanel.h"

#include "base/widgets/ProgramLook.h"
#include "main_window/MainWindowLayout.h"
#include "main_window/logic/StationTextLines.h"
#include "main_window/logic/StationTextWrap.h"

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
    StationWindow->setAccessibleName(QStringLiteral("Station information"));
    StationWindow->setAccessibleDescription(QStringLiteral("The station information text"));
    ProgramLook::setUpReadingView(*StationWindow);
    QPalette palette = StationWindow->palette();
    palette.setColor(QPalette::Base, ProgramLook::systemColor("clActiveBorder"));
    StationWindow->setPalette(palette);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(StationWindow);
}

void StationPanel::showStationText(const QString &sText)
{
    const QStringList lines = splitStationText(sText);
    StationWindow->setWordWrapMode(stationTextWrapMode(lines));
    // Plain text, one block per line; the caret at the start shows the beginning.
    StationWindow->setPlainText(lines.join(u'\n'));
    StationWindow->moveCursor(QTextCursor::Start);
}
