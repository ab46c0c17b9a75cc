#include "BStr.h"

#include <utility>

BStr::BStr(const wchar_t *text, UINT length) : m_bstr(SysAllocStringLen(text, length)) {}

BStr::BStr(const std::wstring &text) : BStr(text.data(), UINT(text.size())) {}

BStr::BStr(BStr &&other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}

BStr &BStr::operator=(BStr &&other) noexcept
{
    std::swap(m_bstr, other.m_bstr);
    return *this;
}

BStr::~BStr()
{
    SysFreeString(m_bstr);
}

BSTR *BStr::put()
{
    SysFreeString(std::exchange(m_bstr, nullptr));
    return &m_bstr;
}

BSTR BStr::detach()
{
    return std::exchange(m_bstr, nullptr);
}

std::wstring BStr::toWString() const
{
    return m_bstr ? std::wstring(m_bstr, SysStringLen(m_bstr)) : std::wstring();
}
