#pragma once

#include "session/com/ComPtr.h"

#include <ocidl.h>

#include <mutex>

// One Advise on an object's default source interface, found at run time; the server chooses
// its interface identifiers, so none is written here. Advise and Unadvise may come from
// different threads of the apartment: one that overran its bound can still be running.
class EventConnection
{
public:
    EventConnection() = default;
    EventConnection(const EventConnection &) = delete;
    EventConnection &operator=(const EventConnection &) = delete;

    // The default source interface of object's class as its type information gives it, else
    // the object's only connection point; throws ComError when there is neither.
    static IID findSourceInterface(IDispatch *object);

    // sink must answer the source interface before this is called; throws ComError.
    void advise(IDispatch *object, const IID &source, IUnknown *sink);
    // Drops the connection; the HRESULT says whether the server took note.
    HRESULT unadvise();

private:
    std::mutex m_mutex;
    ComPtr<IConnectionPoint> m_point;
    DWORD m_cookie = 0;
};
