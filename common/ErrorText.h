#pragma once
// The one place where a Win32 or WinINet error code becomes text.
#include <windows.h>

#include <string>

// "Fehler <code>: <system text>", with the text from wininet.dll for WinINet codes and
// from the system otherwise, line breaks removed. Just "Fehler <code>" when the platform
// has no text for it. Inserts of the system text ("%1") are filled with `subject` (for
// example the file the call was about), or left out when there is none. Capture the code
// right after the failing call.
std::wstring ErrorText(DWORD code, const std::wstring& subject = {});
