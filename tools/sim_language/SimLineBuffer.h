#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Cuts input that arrives in pieces into UTF-8 lines at LF, for every way commands come in:
// a script, standard input and the console.
class SimLineBuffer
{
public:
    // Takes the next piece and returns the lines it completes, without their LF.
    QStringList add(QByteArrayView bytes);
    // At the end of the input: what came after the last LF, as one more line, if anything did.
    QStringList finish();

    // The lines of a script; false with the reason in *error when the file cannot be read.
    static bool readScript(const QString &path, QStringList *lines, QString *error);

private:
    QByteArray m_pending;
};
