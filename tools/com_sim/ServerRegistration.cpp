#include "ServerRegistration.h"

#include "TarnWaveSession.h"

#include <windows.h>

#include <oleauto.h>

namespace {

struct ServedProgId
{
    const CLSID &clsid;
    const wchar_t *progId;
    const wchar_t *description;
};

const ServedProgId servedProgIds[] = {
    {CLSID_TarnwaveSession, L"TarnWave.TarnwaveSession", L"TarnWave session (simulator)"},
    {CLSID_SetupConfig, L"TarnWave.SetupConfig", L"TarnWave set-up configuration (simulator)"},
};

const wchar_t classesRoot[] = L"Software\\Classes\\";

std::wstring guidText(REFGUID guid)
{
    wchar_t text[40];
    StringFromGUID2(guid, text, 40);
    return text;
}

class RegistryKey
{
public:
    explicit RegistryKey(const std::wstring &path)
    {
        m_status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &m_key,
                                   nullptr);
    }
    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    ~RegistryKey()
    {
        if (m_status == ERROR_SUCCESS)
            RegCloseKey(m_key);
    }

    LONG setDefault(const std::wstring &value)
    {
        if (m_status != ERROR_SUCCESS)
            return m_status;
        return RegSetValueExW(m_key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(value.c_str()),
                              DWORD((value.size() + 1) * sizeof(wchar_t)));
    }

private:
    HKEY m_key = nullptr;
    LONG m_status = ERROR_SUCCESS;
};

LONG writeDefault(const std::wstring &path, const std::wstring &value)
{
    return RegistryKey(classesRoot + path).setDefault(value);
}

LONG deleteTree(const std::wstring &path)
{
    const LONG status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, (classesRoot + path).c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

} // namespace

namespace ServerRegistration {

std::wstring executablePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HRESULT loadTypeLibrary(ComPtr<ITypeLib> *out)
{
    return LoadTypeLibEx(executablePath().c_str(), REGKIND_NONE, out->put());
}

HRESULT registerServer(ITypeLib &library, const std::wstring &executable)
{
    // widl alters the library GUID it writes, so the loaded library is the one to trust.
    TLIBATTR *attributes = nullptr;
    HRESULT hr = library.GetLibAttr(&attributes);
    if (FAILED(hr))
        return hr;
    const std::wstring libraryId = guidText(attributes->guid);
    library.ReleaseTLibAttr(attributes);

    for (const ServedProgId &served : servedProgIds) {
        const std::wstring classKey = L"CLSID\\" + guidText(served.clsid);
        const LONG status[] = {
            writeDefault(classKey, served.description),
            writeDefault(classKey + L"\\LocalServer32", L'"' + executable + L'"'),
            writeDefault(classKey + L"\\ProgID", served.progId),
            writeDefault(classKey + L"\\TypeLib", libraryId),
            writeDefault(served.progId, served.description),
            writeDefault(std::wstring(served.progId) + L"\\CLSID", guidText(served.clsid)),
        };
        for (const LONG s : status) {
            if (s != ERROR_SUCCESS)
                return HRESULT_FROM_WIN32(s);
        }
    }
    // Also gives the event interface its proxy entry, without which no client could advise.
    std::wstring path = executable;
    return RegisterTypeLib(&library, path.data(), nullptr);
}

HRESULT unregisterServer(ITypeLib &library)
{
    HRESULT result = S_OK;
    for (const ServedProgId &served : servedProgIds) {
        for (const LONG status : {deleteTree(L"CLSID\\" + guidText(served.clsid)), deleteTree(served.progId)}) {
            if (status != ERROR_SUCCESS && SUCCEEDED(result))
                result = HRESULT_FROM_WIN32(status);
        }
    }
    TLIBATTR *attributes = nullptr;
    HRESULT hr = library.GetLibAttr(&attributes);
    if (SUCCEEDED(hr)) {
        hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                               attributes->lcid, attributes->syskind);
        library.ReleaseTLibAttr(attributes);
        // Unregistering twice is not a failure.
        if (hr == TYPE_E_REGISTRYACCESS || hr == TYPE_E_CANTLOADLIBRARY)
            hr = S_OK;
    }
    return SUCCEEDED(result) ? hr : result;
}

} // namespace ServerRegistration
