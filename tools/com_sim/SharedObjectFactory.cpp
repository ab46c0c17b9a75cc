#include "SharedObjectFactory.h"

ComPtr<IClassFactory> SharedObjectFactory::create(const ComPtr<IUnknown> &object)
{
    return ComPtr<IClassFactory>::adopt(new SharedObjectFactory(object));
}

SharedObjectFactory::SharedObjectFactory(const ComPtr<IUnknown> &object) : m_object(object) {}

HRESULT SharedObjectFactory::QueryInterface(REFIID iid, void **out)
{
    if (!out)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    *out = static_cast<IClassFactory *>(this);
    AddRef();
    return S_OK;
}

ULONG SharedObjectFactory::AddRef()
{
    return ULONG(InterlockedIncrement(&m_references));
}

ULONG SharedObjectFactory::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT SharedObjectFactory::CreateInstance(IUnknown *outer, REFIID iid, void **out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return m_object->QueryInterface(iid, out);
}

HRESULT SharedObjectFactory::LockServer(BOOL)
{
    // The simulator runs until told to quit, whoever holds it.
    return S_OK;
}
