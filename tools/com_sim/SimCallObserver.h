#pragma once

#include <windows.h>

#include <string>

// What the COM objects tell the simulator about the calls they receive, so that it can log
// them, and asked whether to take them at all; called on the thread that serves COM.
class SimCallObserver
{
public:
    virtual ~SimCallObserver() = default;

    // Asked before any call is run; true refuses it, as a server in a modal state does.
    virtual bool refusesCalls() const = 0;

    virtual void propertyRead(const wchar_t *name) = 0;
    virtual void chatTextSent(const std::wstring &text) = 0;
    virtual void transmitRequested(bool on) = 0;
    virtual void sinkAdvised(DWORD cookie) = 0;
    virtual void sinkUnadvised(DWORD cookie) = 0;
    virtual void sinkDropped(DWORD cookie, HRESULT reason) = 0;
    virtual void sinkFailed(DWORD cookie, DISPID event, HRESULT reason) = 0;
};
