#pragma once

#include <QString>

// Whether text names the call sign as a whole word, in any letter case: "dl1abc" and
// "DL1ABC/P" name DL1ABC, "DL1ABCD" and "XDL1ABC" do not. An empty call sign is never named.
bool mentionsCallsign(const QString &text, const QString &callsign);
