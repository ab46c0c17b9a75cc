#pragma once

#include <QFrame>

class QPlainTextEdit;

// The station information panel beside the transcript: the text the session server last
// sent about the connected station, one line per line of it. Hidden until the operator
// asks for it.
class StationPanel : public QFrame
{
    Q_OBJECT

public:
    explicit StationPanel(QWidget *parent = nullptr);

    // Replaces what the panel shows; the text is shown as plain text, from its beginning.
    void showStationText(const QString &sText);

private:
    QPlainTextEdit *StationWindow = nullptr;
};
