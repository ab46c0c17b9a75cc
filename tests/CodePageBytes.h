#pragma once

#include <QByteArray>
#include <QString>

// What Windows' own conversion makes of text in the system's 8-bit code page, where the program
// writes 8-bit text on Windows; characters the code page lacks become its default character.
QByteArray codePageBytes(const QString &text);
