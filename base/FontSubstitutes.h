#pragma once

#include <QFont>
#include <QStringList>

// The faces the windows name, the transcript's default among them, stay "MS Sans Serif": that
// name is shown in the Options dialog and stored with the display settings. On Windows it is a
// bitmap font the DirectWrite engine cannot draw, so there each control fell back to a face of
// its own, some serif. These are the faces drawn in its place, in the order tried.
QStringList substitutesForProgramFace();

// Makes Qt draw every font named "MS Sans Serif" in its substitutes. Called at start-up, before
// the first window, by the program and by everything that runs its windows.
void substituteProgramFace();

// A font of the face and size that is drawn only from outline faces. Qt takes a face the system
// has before any substitute, and Windows has "MS Sans Serif" as a bitmap font; passing bitmap
// faces over lets the substitutes in.
QFont outlineFont(const QString &face, int pointSize);
