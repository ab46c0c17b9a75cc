#pragma once

#include "session/com/ComPtr.h"
#include "DualDispatch.h"
#include "SimConnectionPoint.h"
#include "TarnWaveSession.h"
#include "session/com/ComVariant.h"

#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <vector>

class SimCallObserver;

// The session object: NumPeers, Transmitting, SendChatText and Transmit, and the events
// through its one connection point. One instance serves every client.
class ComSimSession : public DualDispatch<ITarnwaveSession>,
                      public IProvideClassInfo2,
                      public IConnectionPointContainer,
                      public ISupportErrorInfo
{
public:
    static HRESULT create(ITypeLib &library, SimCallObserver &observer, ComPtr<ComSimSession> *out);

    void setNumPeers(LONG count) { m_numPeers = count; }
    // Sets Transmitting and fires OnTX.
    void setTransmitting(bool on);

    void fire(DISPID event, const std::vector<ComVariant> &arguments);
    // The dispatch identifier of an event of the source interface, by name.
    bool findEvent(const std::wstring &name, DISPID *event) const;
    // Cuts every client off, so their next call fails at once rather than waiting.
    void disconnectClients();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE get_NumPeers(LONG *count) override;
    HRESULT STDMETHODCALLTYPE get_Transmitting(VARIANT_BOOL *on) override;
    HRESULT STDMETHODCALLTYPE SendChatText(BSTR text) override;
    HRESULT STDMETHODCALLTYPE Transmit(VARIANT on) override;

    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo **out) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID *guid) override;

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints **out) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint **out) override;

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

private:
    ComSimSession(const ComPtr<ITypeInfo> &dispatchInfo, const ComPtr<ITypeInfo> &classInfo,
                  const ComPtr<ITypeInfo> &eventInfo, SimCallObserver &observer);
    virtual ~ComSimSession() = default;

    LONG m_references = 1;
    ComPtr<ITypeInfo> m_classInfo;
    ComPtr<ITypeInfo> m_eventInfo;
    SimCallObserver &m_observer;
    SimConnectionPoint m_events;
    LONG m_numPeers = 0;
    bool m_transmitting = false;
};
