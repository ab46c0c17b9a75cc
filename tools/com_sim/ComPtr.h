#pragma once

#include <windows.h>

#include <unknwn.h>

#include <utility>

// Owns one reference to a COM interface, in the manner of ATL's CComPtr.
template <typename T>
class ComPtr
{
public:
    ComPtr() = default;
    // Shares the pointer: takes a reference of its own.
    explicit ComPtr(T *pointer) : m_pointer(pointer)
    {
        if (m_pointer)
            m_pointer->AddRef();
    }
    ComPtr(const ComPtr &other) : ComPtr(other.m_pointer) {}
    ComPtr(ComPtr &&other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr &operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    // Takes over a reference the caller already holds, such as a new object's first one.
    static ComPtr adopt(T *pointer)
    {
        ComPtr result;
        result.m_pointer = pointer;
        return result;
    }

    T *get() const { return m_pointer; }
    T *operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // For out parameters: releases what is held and lets the callee fill it.
    T **put()
    {
        reset();
        return &m_pointer;
    }
    void **putVoid() { return reinterpret_cast<void **>(put()); }

    // Hands the reference to the caller, as an out parameter of ours expects.
    T *detach() { return std::exchange(m_pointer, nullptr); }

    void reset()
    {
        if (T *old = std::exchange(m_pointer, nullptr))
            old->Release();
    }

    template <typename U>
    HRESULT queryInterface(REFIID iid, ComPtr<U> *out) const
    {
        return m_pointer ? m_pointer->QueryInterface(iid, out->putVoid()) : E_POINTER;
    }

private:
    T *m_pointer = nullptr;
};
