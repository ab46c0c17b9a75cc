#pragma once

#include "session/com/ComPtr.h"
#include "DualDispatch.h"
#include "TarnWaveSession.h"

#include <string>

class SimCallObserver;

// The configuration object: the operator's call sign.
class ComSimSetupConfig : public DualDispatch<ISetupConfig>
{
public:
    static HRESULT create(ITypeLib &library, SimCallObserver &observer, ComPtr<ComSimSetupConfig> *out);

    void setCallsign(const std::wstring &callsign) { m_callsign = callsign; }
    void disconnectClients();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE get_Callsign(BSTR *callsign) override;

private:
    ComSimSetupConfig(const ComPtr<ITypeInfo> &dispatchInfo, SimCallObserver &observer);
    virtual ~ComSimSetupConfig() = default;

    LONG m_references = 1;
    SimCallObserver &m_observer;
    std::wstring m_callsign = L"N0CALL";
};
