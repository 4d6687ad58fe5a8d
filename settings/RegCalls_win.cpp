// The program's registry calls: straight to advapi32.
#include "settings/RegCalls.h"

namespace regcalls {
LONG OpenKeyEx(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
    return RegOpenKeyExA(root, path, options, access, key);
}
LONG QueryValueEx(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                  LPDWORD count) {
    return RegQueryValueExA(key, name, reserved, type, data, count);
}
LONG CreateKeyEx(HKEY root, LPCSTR path, DWORD reserved, LPSTR keyClass, DWORD options,
                 REGSAM access, const SECURITY_ATTRIBUTES* security, PHKEY key,
                 LPDWORD disposition) {
    return RegCreateKeyExA(root, path, reserved, keyClass, options, access,
                           const_cast<SECURITY_ATTRIBUTES*>(security), key, disposition);
}
LONG FlushKey(HKEY key) {
    return RegFlushKey(key);
}
LONG SetValueEx(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD count) {
    return RegSetValueExA(key, name, reserved, type, data, count);
}
LONG DeleteValue(HKEY key, LPCSTR name) {
    return RegDeleteValueA(key, name);
}
LONG CloseKey(HKEY key) {
    return RegCloseKey(key);
}
} // namespace regcalls
