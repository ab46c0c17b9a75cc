#pragma once

#include "session/com/ComPtr.h"
#include "session/com/ComVariant.h"

#include <ocidl.h>
#include <olectl.h>

#include <vector>

class SimCallObserver;

// The one connection point of the session object. It lives inside its container and shares
// the container's reference count, so a client holding it keeps the container alive.
class SimConnectionPoint : public IConnectionPoint
{
public:
    SimConnectionPoint(IConnectionPointContainer &container, REFIID eventInterface, SimCallObserver &observer);
    SimConnectionPoint(const SimConnectionPoint &) = delete;
    SimConnectionPoint &operator=(const SimConnectionPoint &) = delete;

    // Calls every sink with the arguments given in declaration order, and drops the sinks
    // whose clients have died.
    void fire(DISPID event, const std::vector<ComVariant> &arguments);
    // Forgets every sink, as the server goes away.
    void clear();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID *iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer **out) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown *sink, DWORD *cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections **out) override;

private:
    struct Sink
    {
        DWORD cookie = 0;
        ComPtr<IDispatch> dispatch;
    };

    void forget(DWORD cookie);

    IConnectionPointContainer &m_container;
    IID m_eventInterface;
    SimCallObserver &m_observer;
    std::vector<Sink> m_sinks;
    DWORD m_nextCookie = 1;
};
