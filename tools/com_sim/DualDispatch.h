#pragma once

#include "SimCallObserver.h"

#include "session/com/ComPtr.h"

#include <windows.h>

#include <oaidl.h>

// IDispatch for a dual interface, answered from its type library, so the dispatch
// identifiers and argument checks are exactly those of the IDL. While the simulator is busy,
// both refuse with RPC_E_SERVERCALL_RETRYLATER without running, as COM answers for a server
// whose message filter turns a call away.
template <typename Interface>
class DualDispatch : public Interface
{
public:
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        if (!count)
            return E_POINTER;
        *count = 1;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo **out) override
    {
        if (!out)
            return E_POINTER;
        if (index != 0)
            return DISP_E_BADINDEX;
        *out = ComPtr<ITypeInfo>(m_dispatchInfo).detach();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID, DISPID *ids) override
    {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (m_gate.refusesCalls())
            return RPC_E_SERVERCALL_RETRYLATER;
        return DispGetIDsOfNames(m_interfaceInfo.get(), names, count, ids);
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *exception, UINT *argError) override
    {
        if (iid != IID_NULL)
            return DISP_E_UNKNOWNINTERFACE;
        if (m_gate.refusesCalls())
            return RPC_E_SERVERCALL_RETRYLATER;
        return m_interfaceInfo->Invoke(static_cast<Interface *>(this), id, flags, params, result, exception,
                                       argError);
    }

protected:
    // dispatchInfo is the type library's entry for the interface; calls go through its
    // vtable half, which is what ITypeInfo::Invoke can call.
    DualDispatch(const ComPtr<ITypeInfo> &dispatchInfo, const SimCallObserver &gate)
        : m_dispatchInfo(dispatchInfo), m_gate(gate)
    {
        HREFTYPE vtablePart = 0;
        if (SUCCEEDED(dispatchInfo->GetRefTypeOfImplType(UINT(-1), &vtablePart)))
            dispatchInfo->GetRefTypeInfo(vtablePart, m_interfaceInfo.put());
        if (!m_interfaceInfo)
            m_interfaceInfo = dispatchInfo;
    }
    ~DualDispatch() = default;

private:
    ComPtr<ITypeInfo> m_dispatchInfo;
    ComPtr<ITypeInfo> m_interfaceInfo;
    const SimCallObserver &m_gate;
};
