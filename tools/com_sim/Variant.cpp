#include "Variant.h"

#include <cstring>
#include <utility>

Variant::Variant()
{
    VariantInit(&m_variant);
}

Variant::Variant(const Variant &other) : Variant()
{
    VariantCopy(&m_variant, const_cast<VARIANT *>(&other.m_variant));
}

Variant::Variant(Variant &&other) noexcept : Variant()
{
    std::swap(m_variant, other.m_variant);
}

Variant &Variant::operator=(Variant other) noexcept
{
    std::swap(m_variant, other.m_variant);
    return *this;
}

Variant::~Variant()
{
    VariantClear(&m_variant);
}

Variant Variant::fromBool(bool on)
{
    Variant v;
    V_VT(&v.m_variant) = VT_BOOL;
    V_BOOL(&v.m_variant) = on ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::fromInt16(SHORT value)
{
    Variant v;
    V_VT(&v.m_variant) = VT_I2;
    V_I2(&v.m_variant) = value;
    return v;
}

Variant Variant::fromInt32(LONG value)
{
    Variant v;
    V_VT(&v.m_variant) = VT_I4;
    V_I4(&v.m_variant) = value;
    return v;
}

Variant Variant::fromUInt32(ULONG value)
{
    Variant v;
    V_VT(&v.m_variant) = VT_UI4;
    V_UI4(&v.m_variant) = value;
    return v;
}

Variant Variant::fromDouble(double value)
{
    Variant v;
    V_VT(&v.m_variant) = VT_R8;
    V_R8(&v.m_variant) = value;
    return v;
}

Variant Variant::fromString(BStr text)
{
    Variant v;
    V_VT(&v.m_variant) = VT_BSTR;
    V_BSTR(&v.m_variant) = text.detach();
    return v;
}

VARIANT *Variant::put()
{
    VariantClear(&m_variant);
    return &m_variant;
}
