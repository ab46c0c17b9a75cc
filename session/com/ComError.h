#pragma once

#include <oaidl.h>

#include <stdexcept>
#include <string>
#include <string_view>

// A failed COM call: the HRESULT and whatever the server said about it. The transport words
// the server's states itself (comFailureText); message() says everything else.
class ComError : public std::runtime_error
{
public:
    explicit ComError(HRESULT code, std::wstring serverText = {});
    // Takes the server's description out of an EXCEPINFO (filling in a deferred one first) and
    // frees its strings.
    static ComError fromException(HRESULT code, EXCEPINFO &info);
    static void check(HRESULT code)
    {
        if (FAILED(code))
            throw ComError(code);
    }

    HRESULT code() const { return m_code; }
    const std::wstring &serverText() const { return m_serverText; }
    // COM's or the server's own words for the failure of `what` (a property, method or ProgID).
    std::wstring message(std::wstring_view what) const;

    static bool isServerGone(HRESULT code);
    static bool isTimeout(HRESULT code);
    // The server refused the call without running it; it may be made again.
    static bool isBusy(HRESULT code);
    // The system's text for the code, or the usual English text where the system has none
    // (Wine has no text for most COM codes); empty when neither knows it.
    static std::wstring systemText(HRESULT code);

private:
    HRESULT m_code;
    std::wstring m_serverText;
};
