#include "main_window/logic/StationTextWrap.h"

#include <QTextBoundaryFinder>

namespace {

bool hasUnbrokenRunLongerThan(const QString &line, qsizetype limit)
{
    // A line no longer than the limit holds no such run; most lines end the check here.
    if (line.size() <= limit)
        return false;
    QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, line);
    qsizetype runStart = 0;
    for (qsizetype runEnd = breaks.toNextBoundary(); runEnd != -1; runEnd = breaks.toNextBoundary()) {
        if (runEnd - runStart > limit)
            return true;
        runStart = runEnd;
    }
    return false;
}

} // namespace

QTextOption::WrapMode paragraphWrapMode(const QString &paragraph, QTextOption::WrapMode usual, qsizetype limit)
{
    return hasUnbrokenRunLongerThan(paragraph, limit) ? QTextOption::WrapAnywhere : usual;
}

QTextOption::WrapMode stationTextWrapMode(const QStringList &lines, qsizetype limit)
{
    for (const QString &line : lines) {
        if (hasUnbrokenRunLongerThan(line, limit))
            return QTextOption::WrapAnywhere;
    }
    return QTextOption::WrapAtWordBoundaryOrAnywhere;
}
