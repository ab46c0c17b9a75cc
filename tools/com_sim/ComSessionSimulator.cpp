#include "ComSessionSimulator.h"

#include "SimCommandQueue.h"
#include "TarnWaveSession.h"

#include "session/com/ComError.h"
#include "session/com/ComVariant.h"

#include <QThread>

#include <cstdio>
#include <vector>

namespace {

std::wstring toWide(const QString &text)
{
    return text.toStdWString();
}

QString fromWide(const std::wstring &text)
{
    return QString::fromStdWString(text);
}

ComVariant text(const QString &value)
{
    return ComVariant::fromText(std::wstring_view(reinterpret_cast<const wchar_t *>(value.utf16()), size_t(value.size())));
}

// The variant types of the raw command's TYPE:VALUE arguments.
bool toVariant(const QVariant &value, ComVariant *out)
{
    switch (value.metaType().id()) {
    case QMetaType::QString:
        *out = text(value.toString());
        return true;
    case QMetaType::Bool:
        *out = ComVariant::fromBool(value.toBool());
        return true;
    case QMetaType::Short:
        *out = ComVariant::fromShort(value.value<qint16>());
        return true;
    case QMetaType::Int:
        *out = ComVariant::fromInt(value.value<qint32>());
        return true;
    case QMetaType::UInt:
        *out = ComVariant::fromUInt(value.value<quint32>());
        return true;
    case QMetaType::Double:
        *out = ComVariant::fromDouble(value.toDouble());
        return true;
    default:
        return false;
    }
}

// The events of the command language, numbered as in TarnWaveSession.idl.
enum Event : DISPID {
    OnClosing = 1,
    OnDTMFString = 2,
    OnCarrierDetect = 3,
    OnRX = 4,
    OnPTT = 6,
    OnStationListReceived = 9,
    OnChatTextReceived = 10,
    OnStationTextReceived = 11,
    OnAlarm = 12,
    OnLinkStatusChange = 13,
    OnSerialStatus = 14,
};

} // namespace

ComSessionSimulator::ComSessionSimulator(const ComPtr<ITypeLib> &library, QObject *parent)
    : QObject(parent), m_library(library), m_queue(new SimCommandQueue(this))
{
    connect(m_queue, &SimCommandQueue::commandReady, this, &ComSessionSimulator::execute);
    connect(m_queue, &SimCommandQueue::lineFailed, this, &ComSessionSimulator::printError);
    connect(m_queue, &SimCommandQueue::quitRequested, this, &ComSessionSimulator::quitRequested);
}

ComSessionSimulator::~ComSessionSimulator()
{
    stop();
}

bool ComSessionSimulator::start(QString *message)
{
    HRESULT hr = ComSimSetupConfig::create(*m_library.get(), *this, &m_config);
    if (SUCCEEDED(hr))
        hr = ComSimSession::create(*m_library.get(), *this, &m_session);
    if (FAILED(hr)) {
        *message = QStringLiteral("the type library lacks the objects: ") + errorText(hr);
        return false;
    }
    // The configuration first, as on the bus: a client reads it right after the session.
    hr = m_servedConfig.serve(CLSID_SetupConfig, ComPtr<IUnknown>(static_cast<ISetupConfig *>(m_config.get())));
    if (SUCCEEDED(hr))
        hr = m_servedSession.serve(CLSID_TarnwaveSession,
                                   ComPtr<IUnknown>(static_cast<ITarnwaveSession *>(m_session.get())));
    if (FAILED(hr)) {
        *message = QStringLiteral("cannot offer the objects to other programs: ") + errorText(hr);
        return false;
    }
    printLine(QStringLiteral("ready"));
    m_queue->start();
    return true;
}

void ComSessionSimulator::stop()
{
    m_servedSession.withdraw();
    m_servedConfig.withdraw();
    if (m_session)
        m_session->disconnectClients();
    if (m_config)
        m_config->disconnectClients();
    m_session.reset();
    m_config.reset();
}

void ComSessionSimulator::addLine(const QString &line)
{
    m_queue->addLine(line);
}

void ComSessionSimulator::execute(const SimCommand &command)
{
    using Kind = SimCommand::Kind;
    if (!m_session)
        return;
    ComSimSession &session = *m_session.get();
    switch (command.kind) {
    case Kind::Connect:
        session.connectStation(toWide(command.call), toWide(command.name), toWide(command.addr));
        break;
    case Kind::Disconnect:
        session.disconnectStation(toWide(command.call));
        break;
    case Kind::Chat:
        session.fire(OnChatTextReceived, {text(command.text)});
        break;
    case Kind::StationText:
        session.fire(OnStationTextReceived, {text(command.text)});
        break;
    case Kind::Rx:
        session.fire(OnRX, {ComVariant::fromBool(command.on)});
        break;
    case Kind::Tx:
        session.setTransmitting(command.on);
        break;
    case Kind::Ptt:
        session.fire(OnPTT, {ComVariant::fromBool(command.on)});
        break;
    case Kind::CarrierDetect:
        session.fire(OnCarrierDetect, {ComVariant::fromBool(command.on)});
        break;
    case Kind::Link:
        session.fire(OnLinkStatusChange, {ComVariant::fromBool(command.on)});
        break;
    case Kind::Peers:
        session.setNumPeers(LONG(command.number));
        break;
    case Kind::Callsign:
        m_config->setCallsign(toWide(command.text));
        break;
    case Kind::Dtmf:
        session.fire(OnDTMFString, {text(command.text)});
        break;
    case Kind::Alarm:
        session.fire(OnAlarm, {text(command.call), ComVariant::fromShort(SHORT(command.number))});
        break;
    case Kind::Serial:
        session.fire(OnSerialStatus, {ComVariant::fromInt(int(command.number)), ComVariant::fromInt(int(command.number2))});
        break;
    case Kind::StationList:
        session.fire(OnStationListReceived, {});
        break;
    case Kind::Closing:
        session.fire(OnClosing, {});
        break;
    case Kind::FloodChat:
        for (qint64 i = 1; i <= command.number; ++i)
            session.fire(OnChatTextReceived, {text(command.text + u' ' + QString::number(i))});
        break;
    case Kind::FloodConnect:
        // All up first, then all down, so that clients hold the whole list at once.
        for (qint64 i = 1; i <= command.number; ++i)
            session.connectStation(L"S" + std::to_wstring(i), {}, {});
        for (qint64 i = 1; i <= command.number; ++i)
            session.disconnectStation(L"S" + std::to_wstring(i));
        break;
    case Kind::Hang:
        // Blocking on purpose: this thread serves COM, so calls wait as with a frozen server.
        QThread::msleep(ulong(command.number));
        break;
    case Kind::Busy:
        m_busyUntil.setRemainingTime(command.number);
        break;
    case Kind::Die:
        // As a crash: no OnClosing, no class objects or running-object-table entries revoked,
        // nothing flushed.
        TerminateProcess(GetCurrentProcess(), 3);
        break;
    case Kind::Raw: {
        DISPID event = 0;
        if (!session.findEvent(toWide(command.name), &event)) {
            printError(QStringLiteral("raw: the session has no event \"%1\"; raw-dispid takes any identifier")
                           .arg(command.name));
            break;
        }
        fireRaw(event, command.rawArgs);
        break;
    }
    case Kind::RawDispId:
        fireRaw(DISPID(command.number), command.rawArgs);
        break;
    case Kind::Echo:
        printLine(command.text);
        break;
    case Kind::Sleep:
    case Kind::Quit:
        break; // handled by the queue, since they change the queue itself
    }
}

void ComSessionSimulator::fireRaw(DISPID event, const QVariantList &arguments)
{
    std::vector<ComVariant> variants(size_t(arguments.size()));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (!toVariant(arguments[i], &variants[size_t(i)])) {
            printError(QStringLiteral("raw: argument %1 has no variant type").arg(i + 1));
            return;
        }
    }
    m_session->fire(event, variants);
}

QString ComSessionSimulator::errorText(HRESULT code)
{
    std::wstring text = ComError::systemText(code);
    while (!text.empty() && text.back() == L'.')
        text.pop_back();
    const QString hex = QString::number(ulong(code), 16).toUpper().rightJustified(8, u'0');
    return (text.empty() ? QStringLiteral("Unknown error") : fromWide(text)) + QStringLiteral(" (0x") + hex + u')';
}

void ComSessionSimulator::printLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
    Q_EMIT printed(line);
}

void ComSessionSimulator::printError(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
    Q_EMIT printed(line);
}

bool ComSessionSimulator::refusesCalls() const
{
    return !m_busyUntil.hasExpired();
}

void ComSessionSimulator::propertyRead(const wchar_t *name)
{
    printLine(QStringLiteral("get ") + QString::fromWCharArray(name));
}

void ComSessionSimulator::chatTextSent(const std::wstring &text)
{
    printLine(QStringLiteral("SendChatText ") + SimCommandParser::escapeLine(fromWide(text)));
}

void ComSessionSimulator::transmitRequested(bool on)
{
    printLine(on ? QStringLiteral("Transmit true") : QStringLiteral("Transmit false"));
}

void ComSessionSimulator::sinkAdvised(DWORD cookie)
{
    printLine(QStringLiteral("Advise ") + QString::number(cookie));
}

void ComSessionSimulator::sinkUnadvised(DWORD cookie)
{
    printLine(QStringLiteral("Unadvise ") + QString::number(cookie));
}

void ComSessionSimulator::sinkDropped(DWORD cookie, HRESULT reason)
{
    printLine(QStringLiteral("dropped %1: %2").arg(cookie).arg(errorText(reason)));
}

void ComSessionSimulator::sinkFailed(DWORD cookie, DISPID event, HRESULT reason)
{
    printError(QStringLiteral("sink %1 failed event %2: %3").arg(cookie).arg(event).arg(errorText(reason)));
}
