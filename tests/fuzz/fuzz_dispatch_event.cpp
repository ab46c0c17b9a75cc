// Session events by DispID and by name, with argument lists of any count and type: only a
// list that matches the event table may come out as a typed signal.
#include "session/SessionTransport.h"
#include "session/TTarnWaveSession.h"
#include "session/TarnWave_TLB.h"

#include <QByteArray>
#include <QStringList>
#include <QVariant>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <cstring>

namespace {

class NoServerTransport : public SessionTransport
{
public:
    void attachOrStart(const QString &) override {}
    void attachRunning(const QString &) override {}
    QVariant readProperty(const QString &, const QString &) override { return {}; }
    void invoke(const QString &, const QString &, const QVariantList &) override {}
    void subscribe(const QString &) override {}
    void unsubscribe(const QString &) override {}

    void deliver(const QString &progId, const QString &name, const QVariantList &args)
    {
        Q_EMIT eventReceived(progId, name, args);
    }
};

QString fuzzedString(FuzzedDataProvider &input)
{
    const std::string bytes = input.ConsumeRandomLengthString(64);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QVariant fuzzedValue(FuzzedDataProvider &input)
{
    switch (input.ConsumeIntegralInRange(0, 10)) {
    case 0: return fuzzedString(input);
    case 1: return input.ConsumeBool();
    case 2: return QVariant::fromValue(input.ConsumeIntegral<short>());
    case 3: return input.ConsumeIntegral<int>();
    case 4: return input.ConsumeIntegral<uint>();
    case 5: return input.ConsumeFloatingPoint<double>();
    case 6: return QByteArray::fromStdString(input.ConsumeRandomLengthString(64));
    case 7: return QStringList{fuzzedString(input), fuzzedString(input)};
    case 8: return QVariant::fromValue(input.ConsumeIntegral<qlonglong>());
    case 9: return QVariant(QVariantList{fuzzedValue(input)});
    default: return QVariant();
    }
}

// The table's type letter of a value, or 0 when the table has no letter for it.
char typeCode(const QVariant &value)
{
    if (value.metaType() == QMetaType::fromType<QString>()) return 's';
    if (value.metaType() == QMetaType::fromType<bool>()) return 'b';
    if (value.metaType() == QMetaType::fromType<short>()) return 'n';
    if (value.metaType() == QMetaType::fromType<int>()) return 'i';
    return 0;
}

bool matches(const QVariantList &args, const char *signature)
{
    if (args.size() != qsizetype(std::strlen(signature)))
        return false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (typeCode(args.at(i)) != signature[i])
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    static NoServerTransport transport;
    static TTarnWaveSession wrapper(transport);
    static int emitted = 0;
    static bool wired = false;
    if (!wired) {
        wired = true;
        wrapper.Connect();
        const auto count = [] { ++emitted; };
        QObject::connect(&wrapper, &TTarnWaveSession::OnClosing, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnDTMFString, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnCarrierDetect, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnRX, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnTX, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnPTT, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnConnected, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnDisconnected, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnStationListReceived, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnChatTextReceived, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnStationTextReceived, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnAlarm, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnLinkStatusChange, count);
        QObject::connect(&wrapper, &TTarnWaveSession::OnSerialStatus, count);
    }

    const bool byName = input.ConsumeBool();
    // Mostly identifiers near the table, sometimes any 32-bit value.
    const int dispId = input.ConsumeBool() ? input.ConsumeIntegralInRange(-2, 16) : input.ConsumeIntegral<int>();
    const QString name = input.ConsumeBool()
        ? QString::fromLatin1(TarnWave_TLB::EventTable[input.ConsumeIntegralInRange<size_t>(0, 13)].name)
        : fuzzedString(input);
    QVariantList args;
    const int count = input.ConsumeIntegralInRange(0, 5);
    for (int i = 0; i < count; ++i)
        args << fuzzedValue(input);

    const TarnWave_TLB::EventEntry *entry = byName ? TarnWave_TLB::findEvent(name) : TarnWave_TLB::findEvent(dispId);
    const bool expected = entry && matches(args, entry->signature);
    emitted = 0;
    if (byName)
        transport.deliver(QString::fromLatin1(TarnWave_TLB::SessionProgId), name, args);
    else
        wrapper.dispatchEvent(dispId, args);
    if (emitted != (expected ? 1 : 0))
        std::abort();

    // Events of any other object never reach the session's signals.
    emitted = 0;
    transport.deliver(QString::fromLatin1(TarnWave_TLB::SetupConfigProgId), name, args);
    if (emitted != 0)
        std::abort();
    return 0;
}
