#include "ComSimSession.h"

#include "SimCallObserver.h"
#include "SingleConnectionPointEnum.h"

namespace {

// The event this object fires by itself, numbered as in TarnWaveSession.idl.
constexpr DISPID DispOnTX = 5;

// Leaves a description for the client's EXCEPINFO, then fails with hr.
HRESULT failWith(HRESULT hr, const wchar_t *description)
{
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        create->SetGUID(IID_ITarnwaveSession);
        create->SetSource(const_cast<LPOLESTR>(L"TarnWave.TarnwaveSession"));
        create->SetDescription(const_cast<LPOLESTR>(description));
        ComPtr<IErrorInfo> info;
        if (SUCCEEDED(create.query(IID_IErrorInfo, info)))
            SetErrorInfo(0, info.get());
    }
    return hr;
}

} // namespace

HRESULT ComSimSession::create(ITypeLib &library, SimCallObserver &observer, ComPtr<ComSimSession> *out)
{
    ComPtr<ITypeInfo> dispatchInfo;
    ComPtr<ITypeInfo> classInfo;
    ComPtr<ITypeInfo> eventInfo;
    HRESULT hr = library.GetTypeInfoOfGuid(IID_ITarnwaveSession, dispatchInfo.put());
    if (SUCCEEDED(hr))
        hr = library.GetTypeInfoOfGuid(CLSID_TarnwaveSession, classInfo.put());
    if (SUCCEEDED(hr))
        hr = library.GetTypeInfoOfGuid(DIID_ITarnwaveSessionEvents, eventInfo.put());
    if (FAILED(hr))
        return hr;
    *out = ComPtr<ComSimSession>::adopt(new ComSimSession(dispatchInfo, classInfo, eventInfo, observer));
    return S_OK;
}

ComSimSession::ComSimSession(const ComPtr<ITypeInfo> &dispatchInfo, const ComPtr<ITypeInfo> &classInfo,
                             const ComPtr<ITypeInfo> &eventInfo, SimCallObserver &observer)
    : DualDispatch(dispatchInfo, observer),
      m_classInfo(classInfo),
      m_eventInfo(eventInfo),
      m_observer(observer),
      m_events(*this, DIID_ITarnwaveSessionEvents, observer)
{
}

void ComSimSession::setTransmitting(bool on)
{
    m_transmitting = on;
    fire(DispOnTX, {ComVariant::fromBool(on)});
}

void ComSimSession::fire(DISPID event, const std::vector<ComVariant> &arguments)
{
    // Firing calls out to the clients, and one may release its last reference meanwhile.
    const ComPtr<ComSimSession> keepAlive(this);
    m_events.fire(event, arguments);
}

bool ComSimSession::findEvent(const std::wstring &name, DISPID *event) const
{
    std::wstring copy = name;
    LPOLESTR names[] = {copy.data()};
    return SUCCEEDED(m_eventInfo->GetIDsOfNames(names, 1, event));
}

void ComSimSession::disconnectClients()
{
    m_events.clear();
    CoDisconnectObject(static_cast<ITarnwaveSession *>(this), 0);
}

HRESULT ComSimSession::QueryInterface(REFIID iid, void **out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_ITarnwaveSession)
        *out = static_cast<ITarnwaveSession *>(this);
    else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)
        *out = static_cast<IProvideClassInfo2 *>(this);
    else if (iid == IID_IConnectionPointContainer)
        *out = static_cast<IConnectionPointContainer *>(this);
    else if (iid == IID_ISupportErrorInfo)
        *out = static_cast<ISupportErrorInfo *>(this);
    else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG ComSimSession::AddRef()
{
    return ULONG(InterlockedIncrement(&m_references));
}

ULONG ComSimSession::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT ComSimSession::get_NumPeers(LONG *count)
{
    if (!count)
        return E_POINTER;
    m_observer.propertyRead(L"NumPeers");
    *count = m_numPeers;
    return S_OK;
}

HRESULT ComSimSession::get_Transmitting(VARIANT_BOOL *on)
{
    if (!on)
        return E_POINTER;
    m_observer.propertyRead(L"Transmitting");
    *on = m_transmitting ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT ComSimSession::SendChatText(BSTR text)
{
    m_observer.chatTextSent(text ? std::wstring(text, SysStringLen(text)) : std::wstring());
    return S_OK;
}

HRESULT ComSimSession::Transmit(VARIANT on)
{
    const VARIANT *value = &on;
    if (V_VT(value) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(value))
        value = V_VARIANTREF(value);
    bool keyed = false;
    if (V_VT(value) == VT_BOOL)
        keyed = V_BOOL(value) != VARIANT_FALSE;
    else if (V_VT(value) == (VT_BOOL | VT_BYREF) && V_BOOLREF(value))
        keyed = *V_BOOLREF(value) != VARIANT_FALSE;
    else
        return failWith(DISP_E_TYPEMISMATCH, L"Transmit takes a variant holding a boolean");
    m_observer.transmitRequested(keyed);
    setTransmitting(keyed);
    return S_OK;
}

HRESULT ComSimSession::GetClassInfo(ITypeInfo **out)
{
    if (!out)
        return E_POINTER;
    *out = ComPtr<ITypeInfo>(m_classInfo).detach();
    return S_OK;
}

HRESULT ComSimSession::GetGUID(DWORD kind, GUID *guid)
{
    if (!guid)
        return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = DIID_ITarnwaveSessionEvents;
    return S_OK;
}

HRESULT ComSimSession::EnumConnectionPoints(IEnumConnectionPoints **out)
{
    if (!out)
        return E_POINTER;
    *out = SingleConnectionPointEnum::create(ComPtr<IConnectionPoint>(&m_events)).detach();
    return S_OK;
}

HRESULT ComSimSession::FindConnectionPoint(REFIID iid, IConnectionPoint **out)
{
    if (!out)
        return E_POINTER;
    if (iid != DIID_ITarnwaveSessionEvents) {
        *out = nullptr;
        return CONNECT_E_NOCONNECTION;
    }
    *out = ComPtr<IConnectionPoint>(&m_events).detach();
    return S_OK;
}

HRESULT ComSimSession::InterfaceSupportsErrorInfo(REFIID iid)
{
    return iid == IID_ITarnwaveSession ? S_OK : S_FALSE;
}
