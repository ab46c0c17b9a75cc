#pragma once

#include <QString>

class AutomationObject;
class QKeyEvent;
class TransmitOwnership;

// Reads the session's Transmitting and calls Transmit with its negation through ownership,
// which remembers whether this program keyed; throws TarnWaveError. Nothing changes on
// screen: the indicator follows OnTX.
void toggleTransmit(const AutomationObject &session, TransmitOwnership &ownership);

// A first press of the space bar. A held key repeats, and a repeat must not flap the
// transmitter on and off.
bool isSpaceToggle(const QKeyEvent &event);
// A first press of a key that types a character, what the bare window toggles on; modifiers,
// function and cursor keys type nothing.
bool isCharacterToggle(const QKeyEvent &event);

// The input line's space toggles only while the line is empty or holds exactly one space.
bool inputLineTogglesOnSpace(const QString &text);
