#pragma once

#include "session/com/ComPtr.h"
#include "session/com/ComVariant.h"

#include <oaidl.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

// An automation object reached late-bound, by member name. Calls block; they may come from any
// thread of the apartment the object was obtained in.
class DispatchObject
{
public:
    explicit DispatchObject(ComPtr<IDispatch> object);

    // Attach to the running instance of progId if there is one; throws ComError.
    static ComPtr<IDispatch> attachRunning(const std::wstring &progId);
    // Start a new instance in its own process; throws ComError.
    static ComPtr<IDispatch> start(const std::wstring &progId);

    ComVariant getProperty(const std::wstring &name);
    // Arguments in their natural order; they are passed to the server reversed, as COM wants.
    ComVariant callMethod(const std::wstring &name, std::vector<ComVariant> args);

    const ComPtr<IDispatch> &object() const { return m_object; }

private:
    DISPID dispIdOf(const std::wstring &name);
    ComVariant invoke(DISPID id, WORD flags, std::vector<ComVariant> &reversedArgs);

    ComPtr<IDispatch> m_object;
    std::mutex m_namesMutex;
    std::map<std::wstring, DISPID> m_dispIds;
};
