#pragma once

#include "main_window/logic/CallsignMention.h"

#include <QObject>

#include <functional>

class QWidget;

// Asks the desktop for attention when a received text names the operator's call sign while
// the main window is not the active window.
class CallsignAlert : public QObject
{
    Q_OBJECT

public:
    explicit CallsignAlert(QWidget &window);

    // Returns whether it asked for attention.
    bool received(const QString &text, const QString &callsign);

    // QApplication::alert unless tests watch the request instead.
    using Request = std::function<void(QWidget &window)>;
    void setRequest(Request request);

private:
    QWidget &m_window;
    Request m_request;
    // For the call sign of the last line looked at.
    CallsignMention m_mention;
};
