// A client that attaches to the running simulator, advises an event sink and then waits to
// be killed, so that tests can see a dead client's sink dropped.
#include <windows.h>

#include <ocidl.h>
#include <oleauto.h>

#include <cstdio>

namespace {

class QuietSink : public IDispatch
{
public:
    explicit QuietSink(REFIID eventInterface) : m_eventInterface(eventInterface) {}
    virtual ~QuietSink() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_eventInterface) {
            *out = static_cast<IDispatch *>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override
    {
        return S_OK;
    }

private:
    IID m_eventInterface;
};

int failed(const char *what, HRESULT hr)
{
    std::printf("%s failed: 0x%08lx\n", what, static_cast<unsigned long>(hr));
    return 1;
}

} // namespace

int main()
{
    // Held until the process is killed, on purpose.
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CLSID clsid;
    if (SUCCEEDED(hr))
        hr = CLSIDFromProgID(L"TarnWave.TarnwaveSession", &clsid);
    IUnknown *session = nullptr;
    if (SUCCEEDED(hr))
        hr = GetActiveObject(clsid, nullptr, &session);
    if (FAILED(hr))
        return failed("GetActiveObject", hr);
    IProvideClassInfo2 *classInfo = nullptr;
    GUID events;
    hr = session->QueryInterface(IID_IProvideClassInfo2, reinterpret_cast<void **>(&classInfo));
    if (SUCCEEDED(hr))
        hr = classInfo->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &events);
    IConnectionPointContainer *container = nullptr;
    if (SUCCEEDED(hr))
        hr = session->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void **>(&container));
    IConnectionPoint *point = nullptr;
    if (SUCCEEDED(hr))
        hr = container->FindConnectionPoint(events, &point);
    static QuietSink sink(events);
    DWORD cookie = 0;
    if (SUCCEEDED(hr))
        hr = point->Advise(&sink, &cookie);
    if (FAILED(hr))
        return failed("Advise", hr);
    std::printf("advised %lu\n", cookie);
    std::fflush(stdout);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
