#pragma once

#include <windows.h>

#include <string>

// The system's text for an HRESULT with its code, e.g. "Class not registered (0x80040154)":
// the one place an HRESULT becomes words.
std::wstring comErrorText(HRESULT hr);

// A client that has gone away: its sink can never be reached again.
bool isDeadClient(HRESULT hr);
