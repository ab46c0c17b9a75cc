#pragma once

#include "session/com/ComPtr.h"

#include <ocidl.h>

// Enumerates the session object's single connection point, for clients that look for the
// event interface that way rather than through the type library.
class SingleConnectionPointEnum : public IEnumConnectionPoints
{
public:
    static ComPtr<IEnumConnectionPoints> create(const ComPtr<IConnectionPoint> &point);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint **points, ULONG *fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints **out) override;

private:
    explicit SingleConnectionPointEnum(const ComPtr<IConnectionPoint> &point);
    virtual ~SingleConnectionPointEnum() = default;

    LONG m_references = 1;
    ComPtr<IConnectionPoint> m_point;
    bool m_done = false;
};
