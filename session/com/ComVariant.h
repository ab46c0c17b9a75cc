#pragma once

#include <windows.h>
#include <ole2.h>

#include <string_view>

// Owns one VARIANT and clears it when it goes.
class ComVariant
{
public:
    ComVariant();
    ComVariant(const ComVariant &other);
    ComVariant(ComVariant &&other) noexcept;
    ComVariant &operator=(ComVariant other) noexcept;
    ~ComVariant();

    static ComVariant fromBool(bool value);
    static ComVariant fromShort(short value);
    static ComVariant fromInt(int value);
    static ComVariant fromUInt(unsigned int value);
    static ComVariant fromDouble(double value);
    static ComVariant fromText(std::wstring_view text);
    // A copy that owns its data, references followed (VT_BYREF arguments point into the caller).
    static ComVariant copyOf(const VARIANT &value);

    VARIANT *get() { return &m_value; }
    const VARIANT &value() const { return m_value; }
    VARTYPE type() const { return V_VT(&m_value); }
    // For an out parameter; clears what is held first.
    VARIANT *put();
    // In place, with the system's coercion rules; the HRESULT says why it could not.
    HRESULT changeType(VARTYPE type);

private:
    VARIANT m_value;
};
