#pragma once

#include <QStringList>

#include <windows.h>

#include <oaidl.h>

// An event sink that writes down every call as "DISPID(TYPE:value, ...)", arguments in the
// server's declaration order.
class RecordingSink : public IDispatch
{
public:
    explicit RecordingSink(REFIID eventInterface) : m_eventInterface(eventInterface) {}
    virtual ~RecordingSink() = default;

    QStringList events;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *, EXCEPINFO *,
                                     UINT *) override;

    static QString render(const VARIANT &value);

private:
    IID m_eventInterface;
    // Lives on the test's stack; the count only has to keep COM content.
    ULONG m_references = 1;
};
