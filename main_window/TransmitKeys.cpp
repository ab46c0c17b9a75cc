#include "main_window/TransmitKeys.h"

#include "base/widgets/GeneralErrorHandler.h"
#include "main_window/logic/TransmitToggle.h"

#include <QKeyEvent>
#include <QLineEdit>

TransmitKeys::TransmitKeys(SessionAccess session)
    : m_session(std::move(session))
{
}

void TransmitKeys::inputLineKey(const QKeyEvent &event, QLineEdit &line)
{
    // Enter arrives as returnPressed; the space is typed into the emptied line afterwards.
    if (isSpaceToggle(event) && inputLineTogglesOnSpace(line.text())) {
        GeneralErrorHandler::guard([&] {
            toggle();
            line.clear();
        });
    }
}

void TransmitKeys::transcriptKey(const QKeyEvent &event)
{
    if (isSpaceToggle(event))
        GeneralErrorHandler::guard([this] { toggle(); });
}

void TransmitKeys::windowKey(const QKeyEvent &event)
{
    if (isCharacterToggle(event))
        GeneralErrorHandler::guard([this] { toggle(); });
}

void TransmitKeys::unkeyBeforeClose()
{
    if (m_ownership.keyedByThisProgram())
        m_ownership.unkeyIfKeyed(m_session());
}

void TransmitKeys::toggle()
{
    toggleTransmit(m_session(), m_ownership);
}
