#include "RecordingSink.h"

HRESULT RecordingSink::QueryInterface(REFIID iid, void **out)
{
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == m_eventInterface) {
        *out = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT RecordingSink::GetTypeInfoCount(UINT *count)
{
    *count = 0;
    return S_OK;
}

HRESULT RecordingSink::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params, VARIANT *, EXCEPINFO *, UINT *)
{
    QStringList arguments;
    for (UINT i = params->cArgs; i > 0; --i)
        arguments << render(params->rgvarg[i - 1]);
    events << QString::number(id) + u'(' + arguments.join(u',') + u')';
    return S_OK;
}

QString RecordingSink::render(const VARIANT &value)
{
    switch (V_VT(&value)) {
    case VT_BSTR:
        return QStringLiteral("BSTR:") + QString::fromWCharArray(V_BSTR(&value), int(SysStringLen(V_BSTR(&value))));
    case VT_BOOL:
        return V_BOOL(&value) == VARIANT_TRUE ? QStringLiteral("BOOL:true")
             : V_BOOL(&value) == VARIANT_FALSE ? QStringLiteral("BOOL:false")
                                               : QStringLiteral("BOOL:bad");
    case VT_I2:
        return QStringLiteral("I2:") + QString::number(V_I2(&value));
    case VT_I4:
        return QStringLiteral("I4:") + QString::number(V_I4(&value));
    case VT_UI4:
        return QStringLiteral("UI4:") + QString::number(V_UI4(&value));
    case VT_R8:
        return QStringLiteral("R8:") + QString::number(V_R8(&value));
    default:
        return QStringLiteral("VT%1").arg(V_VT(&value));
    }
}
