#include "ServedClass.h"

#include "SharedObjectFactory.h"

#include <windows.h>

#include <oleauto.h>

ServedClass::~ServedClass()
{
    withdraw();
}

HRESULT ServedClass::serve(REFCLSID clsid, const ComPtr<IUnknown> &object)
{
    const ComPtr<IClassFactory> factory = SharedObjectFactory::create(object);
    HRESULT hr = CoRegisterClassObject(clsid, factory.get(), CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                       &m_classCookie);
    if (FAILED(hr))
        return hr;
    m_classRegistered = true;
    hr = RegisterActiveObject(object.get(), clsid, ACTIVEOBJECT_STRONG, &m_activeCookie);
    if (FAILED(hr))
        return hr;
    m_activeRegistered = true;
    return S_OK;
}

void ServedClass::withdraw()
{
    if (m_activeRegistered)
        RevokeActiveObject(m_activeCookie, nullptr);
    if (m_classRegistered)
        CoRevokeClassObject(m_classCookie);
    m_activeRegistered = false;
    m_classRegistered = false;
}
