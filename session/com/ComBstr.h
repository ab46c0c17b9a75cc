#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>
#include <string_view>

// Owns one BSTR. Text stays UTF-16 on both sides; an embedded NUL is kept.
class ComBstr
{
public:
    ComBstr() = default;
    explicit ComBstr(std::wstring_view text);
    ComBstr(const ComBstr &other);
    ComBstr(ComBstr &&other) noexcept;
    ComBstr &operator=(ComBstr other) noexcept;
    ~ComBstr();

    BSTR get() const { return m_bstr; }
    // For an out parameter; drops what is held first.
    BSTR *put();
    // Hands the string to a new owner (a VARIANT, say).
    BSTR release();
    std::wstring_view view() const;

private:
    BSTR m_bstr = nullptr;
};
