#include "main_window/transcript/CallsignAlert.h"

#include <QApplication>
#include <QWidget>

CallsignAlert::CallsignAlert(QWidget &window)
    : QObject(&window)
    , m_window(window)
    , m_request([](QWidget &w) { QApplication::alert(&w); })
{
    setObjectName(QStringLiteral("CallsignAlert"));
}

bool CallsignAlert::received(const QString &text, const QString &callsign)
{
    if (m_window.isActiveWindow())
        return false;
    if (callsign != m_mention.callsign())
        m_mention = CallsignMention(callsign);
    if (!m_mention.isIn(text))
        return false;
    m_request(m_window);
    return true;
}

void CallsignAlert::setRequest(Request request)
{
    m_request = std::move(request);
}
