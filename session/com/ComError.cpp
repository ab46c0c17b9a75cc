#include "session/com/ComError.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <utility>

namespace {

struct KnownText
{
    HRESULT code;
    const wchar_t *text;
};

// The texts Windows gives for the codes a late-bound client meets most.
constexpr std::array<KnownText, 11> KnownTexts{{
    {CO_E_CLASSSTRING, L"Invalid class string"},
    {REGDB_E_CLASSNOTREG, L"Class not registered"},
    {CO_E_SERVER_EXEC_FAILURE, L"Server execution failed"},
    {E_NOINTERFACE, L"No such interface supported"},
    {E_ACCESSDENIED, L"Access is denied."},
    {E_OUTOFMEMORY, L"Not enough memory resources are available to complete this operation."},
    {DISP_E_UNKNOWNNAME, L"Unknown name."},
    {DISP_E_MEMBERNOTFOUND, L"Member not found."},
    {DISP_E_TYPEMISMATCH, L"Type mismatch."},
    {DISP_E_BADPARAMCOUNT, L"Invalid number of parameters."},
    {DISP_E_OVERFLOW, L"Out of present range."},
}};

std::wstring trimmed(std::wstring text)
{
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return text;
}

std::wstring hexCode(HRESULT code)
{
    wchar_t buffer[16];
    std::swprintf(buffer, 16, L"0x%08lX", static_cast<unsigned long>(code));
    return buffer;
}

std::string narrow(HRESULT code)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "COM error 0x%08lX", static_cast<unsigned long>(code));
    return buffer;
}

} // namespace

ComError::ComError(HRESULT code, std::wstring serverText)
    : std::runtime_error(narrow(code))
    , m_code(code)
    , m_serverText(trimmed(std::move(serverText)))
{
}

ComError ComError::fromException(HRESULT code, EXCEPINFO &info)
{
    if (code == DISP_E_EXCEPTION && info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    std::wstring text;
    if (info.bstrDescription)
        text.assign(info.bstrDescription, SysStringLen(info.bstrDescription));
    // The server's own code says more than DISP_E_EXCEPTION does.
    const HRESULT reported = code == DISP_E_EXCEPTION && FAILED(info.scode) ? info.scode : code;
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrHelpFile);
    info = EXCEPINFO{};
    return ComError(reported, std::move(text));
}

bool ComError::isServerGone(HRESULT code)
{
    switch (code) {
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case CO_E_OBJNOTCONNECTED:
    case RPC_E_INVALID_OBJECT:
    case HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED):
    case HRESULT_FROM_WIN32(RPC_S_CALL_FAILED_DNE):
        return true;
    default:
        return false;
    }
}

bool ComError::isTimeout(HRESULT code)
{
    return code == RPC_E_TIMEOUT || code == RPC_E_CALL_CANCELED;
}

bool ComError::isBusy(HRESULT code)
{
    return code == RPC_E_SERVERCALL_RETRYLATER || code == RPC_E_CALL_REJECTED;
}

std::wstring ComError::systemText(HRESULT code)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                            | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(code),
                                        MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                        reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text = length ? trimmed(std::wstring(buffer, length)) : std::wstring();
    LocalFree(buffer);
    if (!text.empty())
        return text;
    for (const KnownText &known : KnownTexts) {
        if (known.code == code)
            return known.text;
    }
    return {};
}

std::wstring ComError::message(std::wstring_view what) const
{
    const std::wstring name(what);
    // COM's own words, as the operator would see them from any other automation client.
    if (m_code == CO_E_CLASSSTRING || m_code == REGDB_E_CLASSNOTREG)
        return systemText(m_code);
    if (!m_serverText.empty())
        return name + L" failed: " + m_serverText;
    const std::wstring text = systemText(m_code);
    return name + L" failed: " + (text.empty() ? L"error " + hexCode(m_code) : text + L" (" + hexCode(m_code) + L")");
}
