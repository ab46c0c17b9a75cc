#pragma once

#include <QProcessEnvironment>
#include <QStringList>

// The Qt platforms a benchmark's children run on, from TARNWAVE_BENCH_PLATFORMS ("xcb
// offscreen"), else QT_QPA_PLATFORM, else offscreen. Operators run on a real display (xcb on an
// X server), and offscreen shows what the program does without one; the children take turns
// on each, round after round, so both columns share the machine's noise.
QStringList benchPlatforms();

// The environment of a child on that platform.
QProcessEnvironment environmentOn(const QString &platform);
