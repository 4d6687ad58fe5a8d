#pragma once
// The one place where a Win32 or WinINet error code becomes text.
#include <windows.h>

#include <string>

// "Fehler <code>: <system text>", with the text from wininet.dll for WinINet codes and
// from the system otherwise, line breaks removed. Just "Fehler <code>" when the platform
// has no text for it. Capture the code right after the failing call.
std::wstring ErrorText(DWORD code);
