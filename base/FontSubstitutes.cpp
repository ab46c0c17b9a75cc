#include "base/FontSubstitutes.h"

#include <QFont>

namespace {

const QString ProgramFace = QStringLiteral("MS Sans Serif");

} // namespace

QStringList substitutesForProgramFace()
{
#ifdef Q_OS_WIN
    // Its TrueType successor, which looks the same; Wine's own fonts have only Tahoma, the face
    // Windows itself puts in for the old dialog font.
    return {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Tahoma")};
#else
    // fontconfig already gives the name a sans face of the system's.
    return {};
#endif
}

void substituteProgramFace()
{
    const QStringList substitutes = substitutesForProgramFace();
    if (!substitutes.isEmpty())
        QFont::insertSubstitutions(ProgramFace, substitutes);
}

QFont outlineFont(const QString &face, int pointSize)
{
    QFont font(face, pointSize);
    font.setStyleStrategy(QFont::ForceOutline);
    return font;
}
