#pragma once

#include "main_window/logic/TransmitOwnership.h"

#include <functional>

class AutomationObject;
class QKeyEvent;
class QLineEdit;

// The keys that key and unkey the transmitter: the space bar in the input line and in the
// transcript, and any character key in a window with no focused control. Remembers whether
// this program keyed, so that closing unkeys only its own transmission. Errors go to the
// general error handler.
class TransmitKeys
{
public:
    // The session object, or a TarnWaveError when start-up never created it.
    using SessionAccess = std::function<const AutomationObject &()>;
    explicit TransmitKeys(SessionAccess session);

    // Toggles only while the line is empty or one blank, and then empties it.
    void inputLineKey(const QKeyEvent &event, QLineEdit &line);
    void transcriptKey(const QKeyEvent &event);
    void windowKey(const QKeyEvent &event);

    void txReported(bool bTX) { m_ownership.txReported(bTX); }
    void serverLost() { m_ownership.forget(); }
    // Never leaves a transmitter that this program keyed keyed; throws TarnWaveError.
    void unkeyBeforeClose();

private:
    void toggle();

    SessionAccess m_session;
    TransmitOwnership m_ownership;
};
