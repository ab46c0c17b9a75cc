#include "SimConnectionPoint.h"

#include "session/com/ComError.h"
#include "SimCallObserver.h"

#include <algorithm>

SimConnectionPoint::SimConnectionPoint(IConnectionPointContainer &container, REFIID eventInterface,
                                       SimCallObserver &observer)
    : m_container(container), m_eventInterface(eventInterface), m_observer(observer)
{
}

void SimConnectionPoint::fire(DISPID event, const std::vector<ComVariant> &arguments)
{
    // IDispatch::Invoke takes the arguments last first.
    std::vector<VARIANTARG> reversed;
    reversed.reserve(arguments.size());
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it)
        reversed.push_back(it->value());
    DISPPARAMS params = {reversed.data(), nullptr, UINT(reversed.size()), 0};

    // A sink may advise or unadvise while we wait on another, so walk a copy.
    const std::vector<Sink> sinks = m_sinks;
    for (const Sink &sink : sinks) {
        const HRESULT hr = sink.dispatch->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD,
                                                 &params, nullptr, nullptr, nullptr);
        if (SUCCEEDED(hr))
            continue;
        // The sink lives in the client, which is the server for this call.
        if (ComError::isServerGone(hr)) {
            forget(sink.cookie);
            m_observer.sinkDropped(sink.cookie, hr);
        } else {
            m_observer.sinkFailed(sink.cookie, event, hr);
        }
    }
}

void SimConnectionPoint::clear()
{
    m_sinks.clear();
}

void SimConnectionPoint::forget(DWORD cookie)
{
    m_sinks.erase(std::remove_if(m_sinks.begin(), m_sinks.end(),
                                 [cookie](const Sink &sink) { return sink.cookie == cookie; }),
                  m_sinks.end());
}

HRESULT SimConnectionPoint::QueryInterface(REFIID iid, void **out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IConnectionPoint) {
        *out = static_cast<IConnectionPoint *>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG SimConnectionPoint::AddRef()
{
    return m_container.AddRef();
}

ULONG SimConnectionPoint::Release()
{
    return m_container.Release();
}

HRESULT SimConnectionPoint::GetConnectionInterface(IID *iid)
{
    if (!iid)
        return E_POINTER;
    *iid = m_eventInterface;
    return S_OK;
}

HRESULT SimConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer **out)
{
    if (!out)
        return E_POINTER;
    *out = ComPtr<IConnectionPointContainer>(&m_container).detach();
    return S_OK;
}

HRESULT SimConnectionPoint::Advise(IUnknown *sink, DWORD *cookie)
{
    if (!sink || !cookie)
        return E_POINTER;
    *cookie = 0;
    // A sink must answer for the event interface itself, as a client of a real server must.
    ComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(m_eventInterface, dispatch.putVoid())))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = m_nextCookie++;
    m_sinks.push_back({*cookie, dispatch});
    m_observer.sinkAdvised(*cookie);
    return S_OK;
}

HRESULT SimConnectionPoint::Unadvise(DWORD cookie)
{
    const auto it = std::find_if(m_sinks.begin(), m_sinks.end(),
                                 [cookie](const Sink &sink) { return sink.cookie == cookie; });
    if (it == m_sinks.end())
        return CONNECT_E_NOCONNECTION;
    m_sinks.erase(it);
    m_observer.sinkUnadvised(cookie);
    return S_OK;
}

HRESULT SimConnectionPoint::EnumConnections(IEnumConnections **out)
{
    if (out)
        *out = nullptr;
    return E_NOTIMPL;
}
