#include "session/com/ComBstr.h"

#include <new>
#include <utility>

namespace {

BSTR allocate(const wchar_t *data, std::size_t length)
{
    BSTR result = SysAllocStringLen(data, static_cast<UINT>(length));
    if (!result)
        throw std::bad_alloc();
    return result;
}

} // namespace

ComBstr::ComBstr(std::wstring_view text)
    : m_bstr(allocate(text.data(), text.size()))
{
}

ComBstr::ComBstr(const ComBstr &other)
    : m_bstr(other.m_bstr ? allocate(other.m_bstr, SysStringLen(other.m_bstr)) : nullptr)
{
}

ComBstr::ComBstr(ComBstr &&other) noexcept
    : m_bstr(std::exchange(other.m_bstr, nullptr))
{
}

ComBstr &ComBstr::operator=(ComBstr other) noexcept
{
    std::swap(m_bstr, other.m_bstr);
    return *this;
}

ComBstr::~ComBstr()
{
    SysFreeString(m_bstr);
}

BSTR *ComBstr::put()
{
    SysFreeString(std::exchange(m_bstr, nullptr));
    return &m_bstr;
}

BSTR ComBstr::release()
{
    return std::exchange(m_bstr, nullptr);
}

std::wstring_view ComBstr::view() const
{
    // A null BSTR is the empty string.
    return m_bstr ? std::wstring_view(m_bstr, SysStringLen(m_bstr)) : std::wstring_view();
}
