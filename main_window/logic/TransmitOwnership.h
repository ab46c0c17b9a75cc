#pragma once

class AutomationObject;

// Whether this program keyed the transmitter: its last Transmit call was true and no OnTX
// false has arrived since. Closing unkeys only a transmitter this program keyed.
class TransmitOwnership
{
public:
    // Calls the session's Transmit; throws TarnWaveError. A failed key request still counts,
    // since the server may have keyed before reporting the error.
    void transmit(const AutomationObject &session, bool on);
    void txReported(bool bTX);
    // A server that went away took its transmitter state with it.
    void forget() { m_keyed = false; }
    bool keyedByThisProgram() const { return m_keyed; }

    // Calls Transmit false when this program keyed the transmitter; throws TarnWaveError.
    void unkeyIfKeyed(const AutomationObject &session);

private:
    bool m_keyed = false;
};
