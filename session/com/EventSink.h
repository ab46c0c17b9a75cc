#pragma once

#include "session/com/ComPtr.h"
#include "session/com/ComVariant.h"

#include <oaidl.h>

#include <functional>
#include <mutex>
#include <vector>

// The object a server's connection point calls for each event. It answers the server's
// source interface, IDispatch and IUnknown, copies the arguments into the server's order and
// hands them to the handler on the calling thread; the handler must only queue them.
class EventSink final : public IDispatch
{
public:
    using Handler = std::function<void(DISPID id, std::vector<ComVariant> args)>;

    static ComPtr<EventSink> create(Handler handler);

    // Set before Advise: the interface the server will ask for.
    void setSourceInterface(const IID &iid);
    // After this returns the handler is not running and will not be called again.
    void detach();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *exception, UINT *badArgument) override;

private:
    explicit EventSink(Handler handler);
    ~EventSink() = default;

    LONG m_references = 1;
    IID m_sourceInterface = IID_NULL;
    std::mutex m_handlerMutex;
    Handler m_handler;
};
