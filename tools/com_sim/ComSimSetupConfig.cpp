#include "ComSimSetupConfig.h"

#include "SimCallObserver.h"

#include "session/com/ComBstr.h"

#include <new>

HRESULT ComSimSetupConfig::create(ITypeLib &library, SimCallObserver &observer, ComPtr<ComSimSetupConfig> *out)
{
    ComPtr<ITypeInfo> dispatchInfo;
    const HRESULT hr = library.GetTypeInfoOfGuid(IID_ISetupConfig, dispatchInfo.put());
    if (FAILED(hr))
        return hr;
    *out = ComPtr<ComSimSetupConfig>::adopt(new ComSimSetupConfig(dispatchInfo, observer));
    return S_OK;
}

ComSimSetupConfig::ComSimSetupConfig(const ComPtr<ITypeInfo> &dispatchInfo, SimCallObserver &observer)
    : DualDispatch(dispatchInfo, observer), m_observer(observer)
{
}

void ComSimSetupConfig::disconnectClients()
{
    CoDisconnectObject(static_cast<ISetupConfig *>(this), 0);
}

HRESULT ComSimSetupConfig::QueryInterface(REFIID iid, void **out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_ISetupConfig) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<ISetupConfig *>(this);
    AddRef();
    return S_OK;
}

ULONG ComSimSetupConfig::AddRef()
{
    return ULONG(InterlockedIncrement(&m_references));
}

ULONG ComSimSetupConfig::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT ComSimSetupConfig::get_Callsign(BSTR *callsign)
{
    if (!callsign)
        return E_POINTER;
    m_observer.propertyRead(L"Callsign");
    // No exception may leave a COM method.
    try {
        *callsign = ComBstr(m_callsign).release();
    } catch (const std::bad_alloc &) {
        *callsign = nullptr;
        return E_OUTOFMEMORY;
    }
    return S_OK;
}
