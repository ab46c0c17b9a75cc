#include "session/com/ComVariant.h"

#include "session/com/ComBstr.h"
#include "session/com/ComError.h"

#include <utility>

ComVariant::ComVariant()
{
    VariantInit(&m_value);
}

ComVariant::ComVariant(const ComVariant &other)
    : ComVariant()
{
    // The headers take the source as non-const; it is only read.
    ComError::check(VariantCopy(&m_value, const_cast<VARIANT *>(&other.m_value)));
}

ComVariant::ComVariant(ComVariant &&other) noexcept
    : m_value(other.m_value)
{
    // A VARIANT is plain data; the moved-from one simply stops owning it.
    VariantInit(&other.m_value);
}

ComVariant &ComVariant::operator=(ComVariant other) noexcept
{
    std::swap(m_value, other.m_value);
    return *this;
}

ComVariant::~ComVariant()
{
    VariantClear(&m_value);
}

ComVariant ComVariant::fromBool(bool value)
{
    ComVariant result;
    V_VT(&result.m_value) = VT_BOOL;
    V_BOOL(&result.m_value) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return result;
}

ComVariant ComVariant::fromShort(short value)
{
    ComVariant result;
    V_VT(&result.m_value) = VT_I2;
    V_I2(&result.m_value) = value;
    return result;
}

ComVariant ComVariant::fromInt(int value)
{
    ComVariant result;
    V_VT(&result.m_value) = VT_I4;
    V_I4(&result.m_value) = value;
    return result;
}

ComVariant ComVariant::fromUInt(unsigned int value)
{
    ComVariant result;
    V_VT(&result.m_value) = VT_UI4;
    V_UI4(&result.m_value) = value;
    return result;
}

ComVariant ComVariant::fromDouble(double value)
{
    ComVariant result;
    V_VT(&result.m_value) = VT_R8;
    V_R8(&result.m_value) = value;
    return result;
}

ComVariant ComVariant::fromText(std::wstring_view text)
{
    ComVariant result;
    ComBstr bstr(text);
    V_VT(&result.m_value) = VT_BSTR;
    V_BSTR(&result.m_value) = bstr.release();
    return result;
}

ComVariant ComVariant::copyOf(const VARIANT &value)
{
    ComVariant result;
    ComError::check(VariantCopyInd(&result.m_value, const_cast<VARIANT *>(&value)));
    return result;
}

VARIANT *ComVariant::put()
{
    VariantClear(&m_value);
    return &m_value;
}

HRESULT ComVariant::changeType(VARTYPE type)
{
    // Into a separate VARIANT, so a failed conversion leaves the value as it was.
    // Locale-neutral, so "1" and "True" mean the same on every operator's machine.
    ComVariant converted;
    const HRESULT code = VariantChangeTypeEx(&converted.m_value, &m_value,
                                             MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT),
                                             0, type);
    if (SUCCEEDED(code))
        std::swap(m_value, converted.m_value);
    return code;
}
