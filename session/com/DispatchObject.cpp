#include "session/com/DispatchObject.h"

#include "session/com/ComError.h"

#include <objbase.h>

#include <algorithm>

namespace {

CLSID classOf(const std::wstring &progId)
{
    CLSID clsid{};
    ComError::check(CLSIDFromProgID(progId.c_str(), &clsid));
    return clsid;
}

} // namespace

DispatchObject::DispatchObject(ComPtr<IDispatch> object)
    : m_object(std::move(object))
{
}

ComPtr<IDispatch> DispatchObject::attachRunning(const std::wstring &progId)
{
    const CLSID clsid = classOf(progId);
    ComPtr<IUnknown> running;
    ComPtr<IDispatch> object;
    // A server that died leaves its entry in the running object table for a while; its proxy
    // fails the first call, so only an object that answers counts as running.
    if (FAILED(GetActiveObject(clsid, nullptr, running.put())) || FAILED(running.query(IID_IDispatch, object)))
        return {};
    return object;
}

ComPtr<IDispatch> DispatchObject::start(const std::wstring &progId)
{
    const CLSID clsid = classOf(progId);
    ComPtr<IDispatch> object;
    HRESULT result = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                      reinterpret_cast<void **>(object.put()));
    // A server that died may still have its class registered with COM (Wine keeps it until an
    // attempt fails); the failed attempt clears it, so once more starts a new server.
    if (ComError::isServerGone(result))
        result = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                  reinterpret_cast<void **>(object.put()));
    ComError::check(result);
    return object;
}

DISPID DispatchObject::dispIdOf(const std::wstring &name)
{
    {
        const std::lock_guard lock(m_namesMutex);
        const auto known = m_dispIds.find(name);
        if (known != m_dispIds.end())
            return known->second;
    }
    std::wstring buffer = name;
    LPOLESTR names[] = {buffer.data()};
    DISPID id = DISPID_UNKNOWN;
    ComError::check(m_object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id));
    const std::lock_guard lock(m_namesMutex);
    m_dispIds.emplace(name, id);
    return id;
}

ComVariant DispatchObject::invoke(DISPID id, WORD flags, std::vector<ComVariant> &reversedArgs)
{
    std::vector<VARIANT> raw;
    raw.reserve(reversedArgs.size());
    for (ComVariant &arg : reversedArgs)
        raw.push_back(*arg.get());
    DISPPARAMS params{raw.data(), nullptr, static_cast<UINT>(raw.size()), 0};
    ComVariant result;
    EXCEPINFO info{};
    UINT badArgument = 0;
    // raw only borrows: reversedArgs keeps owning the values.
    const HRESULT code = m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                          result.put(), &info, &badArgument);
    if (FAILED(code))
        throw ComError::fromException(code, info);
    return result;
}

ComVariant DispatchObject::getProperty(const std::wstring &name)
{
    std::vector<ComVariant> none;
    return invoke(dispIdOf(name), DISPATCH_PROPERTYGET, none);
}

ComVariant DispatchObject::callMethod(const std::wstring &name, std::vector<ComVariant> args)
{
    std::reverse(args.begin(), args.end());
    return invoke(dispIdOf(name), DISPATCH_METHOD, args);
}
