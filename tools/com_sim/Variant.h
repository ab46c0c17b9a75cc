#pragma once

#include "BStr.h"

#include <windows.h>

#include <oleauto.h>

// Owns one VARIANT and whatever it holds.
class Variant
{
public:
    Variant();
    Variant(const Variant &other);
    Variant(Variant &&other) noexcept;
    Variant &operator=(Variant other) noexcept;
    ~Variant();

    static Variant fromBool(bool on);
    static Variant fromInt16(SHORT value);
    static Variant fromInt32(LONG value);
    static Variant fromUInt32(ULONG value);
    static Variant fromDouble(double value);
    static Variant fromString(BStr text);

    const VARIANT &get() const { return m_variant; }
    // For out parameters: clears what is held first.
    VARIANT *put();

private:
    VARIANT m_variant;
};
