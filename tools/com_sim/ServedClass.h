#pragma once

#include "session/com/ComPtr.h"

#include <windows.h>

#include <unknwn.h>

// One object offered to other processes: as its class's factory (CoCreateInstance) and in
// the running object table (GetActiveObject). Both are withdrawn when this goes.
class ServedClass
{
public:
    ServedClass() = default;
    ServedClass(const ServedClass &) = delete;
    ServedClass &operator=(const ServedClass &) = delete;
    ~ServedClass();

    HRESULT serve(REFCLSID clsid, const ComPtr<IUnknown> &object);
    void withdraw();

private:
    DWORD m_classCookie = 0;
    DWORD m_activeCookie = 0;
    bool m_classRegistered = false;
    bool m_activeRegistered = false;
};
