#pragma once

#include <unknwn.h>

#include <utility>

// Owns one reference to an interface pointer and releases it when it goes.
template<typename T>
class ComPtr
{
public:
    ComPtr() = default;
    // Shares the pointer: takes a reference of its own.
    explicit ComPtr(T *pointer)
        : m_pointer(pointer)
    {
        if (m_pointer)
            m_pointer->AddRef();
    }
    // Takes over a reference the caller already holds (as from an out parameter or new).
    static ComPtr adopt(T *pointer)
    {
        ComPtr result;
        result.m_pointer = pointer;
        return result;
    }
    ComPtr(const ComPtr &other)
        : m_pointer(other.m_pointer)
    {
        if (m_pointer)
            m_pointer->AddRef();
    }
    ComPtr(ComPtr &&other) noexcept
        : m_pointer(std::exchange(other.m_pointer, nullptr))
    {
    }
    ComPtr &operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ~ComPtr() { reset(); }

    T *get() const { return m_pointer; }
    T *operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    void reset()
    {
        if (T *old = std::exchange(m_pointer, nullptr))
            old->Release();
    }
    // For an out parameter: drops what is held and lets the callee fill in a new reference.
    T **put()
    {
        reset();
        return &m_pointer;
    }
    // The same, for the calls that take a void ** (QueryInterface, CoCreateInstance).
    void **putVoid() { return reinterpret_cast<void **>(put()); }
    // Hands the reference to the caller, as an interface pointer out parameter expects.
    T *detach() { return std::exchange(m_pointer, nullptr); }
    // QueryInterface into another holder; the HRESULT says whether it is there.
    template<typename U>
    HRESULT query(REFIID iid, ComPtr<U> &target) const
    {
        if (!m_pointer)
            return E_POINTER;
        return m_pointer->QueryInterface(iid, target.putVoid());
    }

private:
    T *m_pointer = nullptr;
};
