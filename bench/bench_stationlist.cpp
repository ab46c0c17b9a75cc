// Cost per station event of the status bar's station list, for lists of growing length: the
// link status alone, and with the station list label taking each new text and being measured
// as a layout pass would. Prints microseconds per event and how that grows with the list.

#include "main_window/StationListLabel.h"
#include "main_window/logic/LinkStatus.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

namespace {

using Change = std::function<void(LinkStatus &status, int i)>;

QString callsign(int i)
{
    return QStringLiteral("S%1").arg(i);
}

double microsecondsPerEvent(int count, LinkStatus &status, StationListLabel *label, const Change &change)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < count; ++i) {
        change(status, i);
        if (label) {
            label->setText(status.stationList().caption);
            label->sizeHint();
        }
    }
    if (label)
        label->repaint();
    return double(timer.nsecsElapsed()) / 1000.0 / count;
}

// Connect, disconnect in order of arrival, connect again, disconnect newest first.
QList<double> measure(int count, StationListLabel *label)
{
    const Change connect = [](LinkStatus &s, int i) { s.stationConnected(callsign(i)); };
    const Change oldestFirst = [](LinkStatus &s, int i) { s.stationDisconnected(callsign(i).toLower()); };
    const Change newestFirst = [count](LinkStatus &s, int i) {
        s.stationDisconnected(callsign(count - 1 - i).toLower());
    };
    LinkStatus status;
    QList<double> figures;
    figures << microsecondsPerEvent(count, status, label, connect);
    figures << microsecondsPerEvent(count, status, label, oldestFirst);
    microsecondsPerEvent(count, status, label, connect);
    figures << microsecondsPerEvent(count, status, label, newestFirst);
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // List lengths from the command line, shortest first.
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {100, 1000, 10000};

    StationListLabel label;
    label.resize(300, 18);
    label.show();

    const char *columns[] = {"connect", "leave oldest", "leave newest"};
    for (StationListLabel *withLabel : {static_cast<StationListLabel *>(nullptr), &label}) {
        std::printf("%s, microseconds per event\n",
                    withLabel ? "link status and label" : "link status alone");
        std::printf("%9s %14s %14s %14s\n", "stations", columns[0], columns[1], columns[2]);
        QList<double> first;
        QList<double> last;
        for (const int count : sizes) {
            last = measure(count, withLabel);
            if (first.isEmpty())
                first = last;
            std::printf("%9d %14.2f %14.2f %14.2f\n", count, last[0], last[1], last[2]);
        }
        std::printf("%9s %13.1fx %13.1fx %13.1fx  (list %dx longer)\n\n", "growth", last[0] / first[0],
                    last[1] / first[1], last[2] / first[2], sizes.last() / sizes.first());
    }
    return 0;
}
