#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

// Owns one BSTR.
class BStr
{
public:
    BStr() = default;
    BStr(const wchar_t *text, UINT length);
    explicit BStr(const std::wstring &text);
    BStr(BStr &&other) noexcept;
    BStr &operator=(BStr &&other) noexcept;
    BStr(const BStr &) = delete;
    BStr &operator=(const BStr &) = delete;
    ~BStr();

    BSTR get() const { return m_bstr; }
    BSTR *put();
    BSTR detach();
    UINT length() const { return SysStringLen(m_bstr); }
    std::wstring toWString() const;

private:
    BSTR m_bstr = nullptr;
};
