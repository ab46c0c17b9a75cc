#include "session/com/EventSink.h"

#include <windows.h>

ComPtr<EventSink> EventSink::create(Handler handler)
{
    return ComPtr<EventSink>::adopt(new EventSink(std::move(handler)));
}

EventSink::EventSink(Handler handler)
    : m_handler(std::move(handler))
{
}

void EventSink::setSourceInterface(const IID &iid)
{
    m_sourceInterface = iid;
}

void EventSink::detach()
{
    const std::lock_guard lock(m_handlerMutex);
    m_handler = nullptr;
}

HRESULT STDMETHODCALLTYPE EventSink::QueryInterface(REFIID iid, void **object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || (iid == m_sourceInterface && iid != IID_NULL)) {
        *object = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE EventSink::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG STDMETHODCALLTYPE EventSink::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE EventSink::GetTypeInfoCount(UINT *count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE EventSink::GetTypeInfo(UINT, LCID, ITypeInfo **info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE EventSink::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE EventSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params,
                                            VARIANT *result, EXCEPINFO *, UINT *)
{
    if (result)
        VariantInit(result);
    try {
        std::vector<ComVariant> args;
        if (params && params->rgvarg) {
            args.reserve(params->cArgs);
            // rgvarg holds the last argument first.
            for (UINT i = params->cArgs; i > 0; --i)
                args.push_back(ComVariant::copyOf(params->rgvarg[i - 1]));
        }
        const std::lock_guard lock(m_handlerMutex);
        if (m_handler)
            m_handler(id, std::move(args));
    } catch (...) {
        // An argument that cannot be copied drops the event; nothing may unwind into COM.
    }
    // Whatever we made of the event, the server has nothing to learn from it.
    return S_OK;
}
