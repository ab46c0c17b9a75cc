#include "session/TTarnWaveSession.h"

#include "session/SessionTransport.h"
#include "session/TarnWave_TLB.h"

#include <cstring>

namespace {

bool hasType(const QVariant &value, char code)
{
    switch (code) {
    case 's': return value.metaType() == QMetaType::fromType<QString>();
    case 'b': return value.metaType() == QMetaType::fromType<bool>();
    case 'n': return value.metaType() == QMetaType::fromType<short>();
    case 'i': return value.metaType() == QMetaType::fromType<int>();
    default: return false;
    }
}

bool matchesSignature(const QVariantList &args, const char *signature)
{
    const auto count = static_cast<qsizetype>(std::strlen(signature));
    if (args.size() != count)
        return false;
    for (qsizetype i = 0; i < count; ++i) {
        if (!hasType(args.at(i), signature[i]))
            return false;
    }
    return true;
}

} // namespace

TTarnWaveSession::TTarnWaveSession(SessionTransport &transport, QObject *parent)
    : QObject(parent)
    , m_transport(transport)
{
    connect(&m_transport, &SessionTransport::eventReceived, this, &TTarnWaveSession::onTransportEvent);
    connect(&m_transport, &SessionTransport::serverLost, this, &TTarnWaveSession::serverLost);
}

TTarnWaveSession::~TTarnWaveSession()
{
    if (m_listening) {
        try {
            Disconnect();
        } catch (...) {
            // Nothing useful can be shown while the wrapper goes away.
        }
    }
}

void TTarnWaveSession::Connect(TConnectKind kind)
{
    if (m_connected)
        return;
    const QString progId = QString::fromLatin1(TarnWave_TLB::SessionProgId);
    if (kind == TConnectKind::ckRunningInstance)
        m_transport.attachRunning(progId);
    else
        m_transport.attachOrStart(progId);
    m_transport.subscribe(progId);
    m_connected = true;
    m_listening = true;
}

void TTarnWaveSession::Disconnect()
{
    if (!m_connected && !m_listening)
        return;
    m_connected = false;
    m_listening = false;
    m_transport.unsubscribe(QString::fromLatin1(TarnWave_TLB::SessionProgId));
}

void TTarnWaveSession::onTransportEvent(const QString &progId, const QString &eventName,
                                        const QVariantList &args)
{
    if (!m_listening || progId != QLatin1String(TarnWave_TLB::SessionProgId))
        return;
    const TarnWave_TLB::EventEntry *entry = TarnWave_TLB::findEvent(eventName);
    dispatchEvent(entry ? entry->dispId : -1, args);
}

void TTarnWaveSession::dispatchEvent(int dispId, const QVariantList &args)
{
    using namespace TarnWave_TLB;
    const EventEntry *entry = findEvent(dispId);
    if (!entry || !matchesSignature(args, entry->signature))
        return;

    const auto str = [&args](int i) { return args.at(i).toString(); };
    const auto flag = [&args](int i) { return args.at(i).toBool(); };
    switch (dispId) {
    case DispOnClosing: Q_EMIT OnClosing(); break;
    case DispOnDTMFString: Q_EMIT OnDTMFString(str(0)); break;
    case DispOnCarrierDetect: Q_EMIT OnCarrierDetect(flag(0)); break;
    case DispOnRX: Q_EMIT OnRX(flag(0)); break;
    case DispOnTX: Q_EMIT OnTX(flag(0)); break;
    case DispOnPTT: Q_EMIT OnPTT(flag(0)); break;
    case DispOnConnected: Q_EMIT OnConnected(str(0), str(1), str(2)); break;
    case DispOnDisconnected: Q_EMIT OnDisconnected(str(0)); break;
    case DispOnStationListReceived: Q_EMIT OnStationListReceived(); break;
    case DispOnChatTextReceived: Q_EMIT OnChatTextReceived(str(0)); break;
    case DispOnStationTextReceived: Q_EMIT OnStationTextReceived(str(0)); break;
    case DispOnAlarm: Q_EMIT OnAlarm(str(0), args.at(1).value<short>()); break;
    case DispOnLinkStatusChange: Q_EMIT OnLinkStatusChange(flag(0)); break;
    case DispOnSerialStatus: Q_EMIT OnSerialStatus(args.at(0).toInt(), args.at(1).toInt()); break;
    default: break;
    }
}
