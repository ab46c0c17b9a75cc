#pragma once

#include "TarnWaveVersion.h"

// Everything the program says about itself, in one place.
namespace ProgramConstants {

inline constexpr char ApplicationTitle[] = "TarnWave Chat";
inline constexpr char ProgramVersion[] = TARNWAVE_VERSION;
inline constexpr char VersionText[] = TARNWAVE_VERSION_TEXT;
inline constexpr char AuthorCredit[] = "the TarnWave Chat team";
inline constexpr char MakerWebAddress[] = "https://tarnwave.example/chat";

// A reserved name that never resolves on the public network: no operator's call sign goes
// to anyone we do not run.
inline constexpr char PresenceHost[] = "presence.tarnwave.example";
inline constexpr unsigned short PresencePort = 5200;

// Shipped inside the program, so the About window shows it offline.
inline constexpr char AboutPageAddress[] = "qrc:/about/about.html";

} // namespace ProgramConstants
