#pragma once

#include "session/com/ComPtr.h"

#include <windows.h>

#include <oaidl.h>

#include <string>

// Registration of the simulator as the local server of both ProgIDs, for all users: Wine
// ignores per-user class registration.
namespace ServerRegistration {

std::wstring executablePath();
// The type library embedded in the executable as resource TYPELIB 1.
HRESULT loadTypeLibrary(ComPtr<ITypeLib> *out);

HRESULT registerServer(ITypeLib &library, const std::wstring &executable);
HRESULT unregisterServer(ITypeLib &library);

} // namespace ServerRegistration
