#include "ComSessionSimulator.h"

#include "SimCommandRunner.h"
#include "TarnWaveSession.h"

#include "session/com/ComError.h"
#include "session/com/ComVariant.h"

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

} // namespace

ComSessionSimulator::ComSessionSimulator(const ComPtr<ITypeLib> &library, QObject *parent)
    : QObject(parent), m_library(library), m_commands(new SimCommandRunner(*this, this))
{
    connect(m_commands, &SimCommandRunner::printed, this, &ComSessionSimulator::printed);
    connect(m_commands, &SimCommandRunner::quitRequested, this, &ComSessionSimulator::quitRequested);
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
    m_commands->start();
    return true;
}

void ComSessionSimulator::stop()
{
    m_commands->stop();
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
    m_commands->addLine(line);
}

void ComSessionSimulator::setNumPeers(qint32 count)
{
    m_session->setNumPeers(LONG(count));
}

void ComSessionSimulator::setTransmitting(bool on)
{
    m_session->setTransmitting(on);
}

void ComSessionSimulator::setCallsign(const QString &callsign)
{
    m_config->setCallsign(toWide(callsign));
}

void ComSessionSimulator::fireEvent(const QString &name, const QVariantList &arguments)
{
    // Only raw names an event the type library may lack.
    DISPID event = 0;
    if (!m_session->findEvent(toWide(name), &event)) {
        m_commands->printError(
            QStringLiteral("raw: the session has no event \"%1\"; raw-dispid takes any identifier").arg(name));
        return;
    }
    fireDispId(event, arguments);
}

void ComSessionSimulator::fireDispId(qint32 dispId, const QVariantList &arguments)
{
    std::vector<ComVariant> variants(size_t(arguments.size()));
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (!toVariant(arguments[i], &variants[size_t(i)])) {
            m_commands->printError(QStringLiteral("raw: argument %1 has no variant type").arg(i + 1));
            return;
        }
    }
    m_session->fire(DISPID(dispId), variants);
}

void ComSessionSimulator::refuseCallsFor(qint64 ms)
{
    m_busyUntil.setRemainingTime(ms);
}

void ComSessionSimulator::die()
{
    // As a crash: no OnClosing, no class objects or running-object-table entries revoked,
    // nothing flushed.
    TerminateProcess(GetCurrentProcess(), 3);
}

QString ComSessionSimulator::errorText(HRESULT code)
{
    std::wstring text = ComError::systemText(code);
    while (!text.empty() && text.back() == L'.')
        text.pop_back();
    const QString hex = QString::number(ulong(code), 16).toUpper().rightJustified(8, u'0');
    return (text.empty() ? QStringLiteral("Unknown error") : fromWide(text)) + QStringLiteral(" (0x") + hex + u')';
}

bool ComSessionSimulator::refusesCalls() const
{
    return !m_busyUntil.hasExpired();
}

void ComSessionSimulator::propertyRead(const wchar_t *name)
{
    m_commands->printLine(QStringLiteral("get ") + QString::fromWCharArray(name));
}

void ComSessionSimulator::chatTextSent(const std::wstring &text)
{
    m_commands->printChatTextSent(fromWide(text));
}

void ComSessionSimulator::transmitRequested(bool on)
{
    m_commands->printTransmit(on);
}

void ComSessionSimulator::sinkAdvised(DWORD cookie)
{
    m_commands->printLine(QStringLiteral("Advise ") + QString::number(cookie));
}

void ComSessionSimulator::sinkUnadvised(DWORD cookie)
{
    m_commands->printLine(QStringLiteral("Unadvise ") + QString::number(cookie));
}

void ComSessionSimulator::sinkDropped(DWORD cookie, HRESULT reason)
{
    m_commands->printLine(QStringLiteral("dropped %1: %2").arg(cookie).arg(errorText(reason)));
}

void ComSessionSimulator::sinkFailed(DWORD cookie, DISPID event, HRESULT reason)
{
    m_commands->printError(QStringLiteral("sink %1 failed event %2: %3").arg(cookie).arg(event).arg(errorText(reason)));
}
