#pragma once

#include <memory>

class SessionTransport;

// The transport that reaches the session server on this platform: COM automation on Windows,
// the D-Bus session bus elsewhere.
std::unique_ptr<SessionTransport> createPlatformSessionTransport();
