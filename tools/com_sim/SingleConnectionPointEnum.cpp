#include "SingleConnectionPointEnum.h"

ComPtr<IEnumConnectionPoints> SingleConnectionPointEnum::create(const ComPtr<IConnectionPoint> &point)
{
    return ComPtr<IEnumConnectionPoints>::adopt(new SingleConnectionPointEnum(point));
}

SingleConnectionPointEnum::SingleConnectionPointEnum(const ComPtr<IConnectionPoint> &point) : m_point(point) {}

HRESULT SingleConnectionPointEnum::QueryInterface(REFIID iid, void **out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IEnumConnectionPoints) {
        *out = static_cast<IEnumConnectionPoints *>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG SingleConnectionPointEnum::AddRef()
{
    return ULONG(InterlockedIncrement(&m_references));
}

ULONG SingleConnectionPointEnum::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return ULONG(left);
}

HRESULT SingleConnectionPointEnum::Next(ULONG count, IConnectionPoint **points, ULONG *fetched)
{
    if (!points || (count > 1 && !fetched))
        return E_POINTER;
    ULONG taken = 0;
    if (count > 0 && !m_done) {
        points[0] = ComPtr<IConnectionPoint>(m_point).detach();
        m_done = true;
        taken = 1;
    }
    if (fetched)
        *fetched = taken;
    return taken == count ? S_OK : S_FALSE;
}

HRESULT SingleConnectionPointEnum::Skip(ULONG count)
{
    if (count == 0)
        return S_OK;
    const bool skipped = !m_done && count == 1;
    m_done = true;
    return skipped ? S_OK : S_FALSE;
}

HRESULT SingleConnectionPointEnum::Reset()
{
    m_done = false;
    return S_OK;
}

HRESULT SingleConnectionPointEnum::Clone(IEnumConnectionPoints **out)
{
    if (!out)
        return E_POINTER;
    ComPtr<IEnumConnectionPoints> copy = create(m_point);
    static_cast<SingleConnectionPointEnum *>(copy.get())->m_done = m_done;
    *out = copy.detach();
    return S_OK;
}
