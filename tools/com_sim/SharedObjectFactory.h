#pragma once

#include "session/com/ComPtr.h"

#include <windows.h>

#include <unknwn.h>

// Hands every client the same object, so all of them see one session.
class SharedObjectFactory : public IClassFactory
{
public:
    static ComPtr<IClassFactory> create(const ComPtr<IUnknown> &object);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID iid, void **out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    explicit SharedObjectFactory(const ComPtr<IUnknown> &object);
    virtual ~SharedObjectFactory() = default;

    LONG m_references = 1;
    ComPtr<IUnknown> m_object;
};
