#include "session/com/VariantConversion.h"

#include "base/TarnWaveError.h"

namespace VariantConversion {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "BSTR text is UTF-16");

std::wstring toWide(const QString &text)
{
    return std::wstring(reinterpret_cast<const wchar_t *>(text.utf16()), static_cast<std::size_t>(text.size()));
}

QString fromWide(std::wstring_view text)
{
    return QString(reinterpret_cast<const QChar *>(text.data()), static_cast<qsizetype>(text.size()));
}

QVariant toQVariant(const ComVariant &value)
{
    const VARIANT &v = value.value();
    if (V_VT(&v) & VT_BYREF)
        return toQVariant(ComVariant::copyOf(v));
    switch (V_VT(&v)) {
    case VT_EMPTY:
    case VT_NULL: return {};
    case VT_BSTR: return fromWide(V_BSTR(&v) ? std::wstring_view(V_BSTR(&v), SysStringLen(V_BSTR(&v))) : std::wstring_view());
    case VT_BOOL: return V_BOOL(&v) != VARIANT_FALSE;
    case VT_I1: return QVariant::fromValue<short>(V_I1(&v));
    case VT_I2: return QVariant::fromValue<short>(V_I2(&v));
    case VT_I4: return static_cast<int>(V_I4(&v));
    case VT_INT: return static_cast<int>(V_INT(&v));
    case VT_UI1: return static_cast<int>(V_UI1(&v));
    case VT_UI2: return static_cast<int>(V_UI2(&v));
    case VT_UI4: return static_cast<uint>(V_UI4(&v));
    case VT_UINT: return static_cast<uint>(V_UINT(&v));
    case VT_I8: return static_cast<qlonglong>(V_I8(&v));
    case VT_UI8: return static_cast<qulonglong>(V_UI8(&v));
    case VT_R4: return static_cast<double>(V_R4(&v));
    case VT_R8: return V_R8(&v);
    default: break;
    }
    ComVariant text(value);
    if (FAILED(text.changeType(VT_BSTR)))
        return {};
    return toQVariant(text);
}

ComVariant fromQVariant(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::UnknownType: return {};
    case QMetaType::QString: return ComVariant::fromText(toWide(value.toString()));
    case QMetaType::Bool: return ComVariant::fromBool(value.toBool());
    case QMetaType::Short: return ComVariant::fromShort(value.value<short>());
    case QMetaType::Int: return ComVariant::fromInt(value.toInt());
    default: break;
    }
    if (value.canConvert<QString>())
        return ComVariant::fromText(toWide(value.toString()));
    throw TarnWaveError(QStringLiteral("A value of type %1 cannot be passed to the session server")
                            .arg(QString::fromLatin1(value.metaType().name())));
}

} // namespace VariantConversion
