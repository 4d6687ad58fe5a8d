#pragma once
// The seven advapi32 calls of the settings class, in one place. The program links the
// plain forwards of RegCalls_win.cpp; the registry call tests link a recorder instead,
// which sees what the real registry under Wine cannot show (access masks, flushes, the
// exact paths).
#include <windows.h>

namespace regcalls {
LONG OpenKeyEx(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key);
LONG QueryValueEx(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                  LPDWORD count);
LONG CreateKeyEx(HKEY root, LPCSTR path, DWORD reserved, LPSTR keyClass, DWORD options,
                 REGSAM access, const SECURITY_ATTRIBUTES* security, PHKEY key,
                 LPDWORD disposition);
LONG FlushKey(HKEY key);
LONG SetValueEx(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD count);
LONG DeleteValue(HKEY key, LPCSTR name);
LONG CloseKey(HKEY key);
} // namespace regcalls
