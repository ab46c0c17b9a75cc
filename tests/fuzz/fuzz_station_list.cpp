// The connected-station comma text, kept up to date one entry at a time: after any sequence
// of connects and disconnects it equals the text built afresh, and reading it back gives the
// list again.
#include "main_window/logic/StationListText.h"

#include <QStringList>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

// Reads comma text back into entries: quoted entries with doubled inner quotes, others as is.
QStringList parseCommaText(const QString &text)
{
    QStringList entries;
    if (text.isEmpty())
        return entries;
    qsizetype i = 0;
    for (;;) {
        QString entry;
        if (i < text.size() && text.at(i) == u'"') {
            ++i;
            for (;;) {
                if (i >= text.size())
                    std::abort();  // an unterminated quote
                if (text.at(i) == u'"') {
                    if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                        entry += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                entry += text.at(i++);
            }
        } else {
            while (i < text.size() && text.at(i) != u',')
                entry += text.at(i++);
        }
        entries << entry;
        if (i == text.size())
            return entries;
        if (text.at(i) != u',')
            std::abort();  // text after a closing quote
        ++i;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    StationListText text;
    QStringList stations;
    while (input.remaining_bytes() > 0) {
        if (stations.isEmpty() || input.ConsumeIntegralInRange(0, 2) > 0) {
            const std::string bytes = input.ConsumeRandomLengthString(32);
            const QString entry = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
            text.append(entry);
            stations << entry;
        } else {
            const auto index = input.ConsumeIntegralInRange<qsizetype>(0, stations.size() - 1);
            text.removeAt(index);
            stations.removeAt(index);
        }
        const QString kept = text.text();
        if (kept != stationListCommaText(stations))
            std::abort();
        if (parseCommaText(kept) != stations)
            std::abort();
    }
    return 0;
}
