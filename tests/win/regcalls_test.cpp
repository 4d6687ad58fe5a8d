// The settings class's registry calls as it makes them: each call with its root, path,
// value name, access mask, class and options, in order. Wine ignores access rights,
// accepts doubled backslashes and shows no flush, so only a recording holds the class to
// its call table; the behaviour itself is tested on the real registry elsewhere.
#include "settings/RegCalls.h"
#include "settings/clsRegistry.h"
#include "tests/win/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

std::vector<std::string> calls;
std::map<HKEY, std::string> keyNames;

std::string Hex(DWORD v) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", static_cast<unsigned long>(v));
    return text;
}

std::string KeyName(HKEY key) {
    if (key == HKEY_CURRENT_USER) return "HKCU";
    const auto found = keyNames.find(key);
    return found == keyNames.end() ? "?" : found->second;
}

std::string Opened(LONG result, HKEY key) {
    if (result != ERROR_SUCCESS) return " -> fail";
    keyNames[key] = "k" + std::to_string(keyNames.size() + 1);
    return " -> " + keyNames[key];
}

std::string Quoted(LPCSTR text) {
    return text ? "'" + std::string(text) + "'" : "null";
}

} // namespace

namespace regcalls {
LONG OpenKeyEx(HKEY root, LPCSTR path, DWORD options, REGSAM access, PHKEY key) {
    const LONG r = RegOpenKeyExA(root, path, options, access, key);
    calls.push_back("Open " + KeyName(root) + " " + Quoted(path) + " " + std::to_string(options) +
                    " " + Hex(access) + Opened(r, *key));
    return r;
}
LONG QueryValueEx(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                  LPDWORD count) {
    const std::string before = data ? "buffer " + std::to_string(*count) : "size";
    const LONG r = RegQueryValueExA(key, name, reserved, type, data, count);
    calls.push_back("Query " + KeyName(key) + " " + Quoted(name) + " " + before +
                    (reserved ? " reserved" : ""));
    return r;
}
LONG CreateKeyEx(HKEY root, LPCSTR path, DWORD reserved, LPSTR keyClass, DWORD options,
                 REGSAM access, const SECURITY_ATTRIBUTES* security, PHKEY key,
                 LPDWORD disposition) {
    const LONG r = RegCreateKeyExA(root, path, reserved, keyClass, options, access,
                                   const_cast<SECURITY_ATTRIBUTES*>(security), key, disposition);
    calls.push_back("Create " + KeyName(root) + " " + Quoted(path) + " class " + Quoted(keyClass) +
                    " options " + std::to_string(options) + " " + Hex(access) +
                    (security ? " security" : "") + Opened(r, *key));
    return r;
}
LONG FlushKey(HKEY key) {
    calls.push_back("Flush " + KeyName(key));
    return RegFlushKey(key);
}
LONG SetValueEx(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD count) {
    std::string bytes;
    for (DWORD i = 0; i < count; ++i)
        bytes += Hex(data[i]).substr(2) + (i + 1 < count ? " " : "");
    calls.push_back("Set " + KeyName(key) + " " + Quoted(name) + " " + std::to_string(reserved) +
                    " type " + std::to_string(type) + " [" + bytes + "] " + std::to_string(count));
    return RegSetValueExA(key, name, reserved, type, data, count);
}
LONG DeleteValue(HKEY key, LPCSTR name) {
    calls.push_back("Delete " + KeyName(key) + " " + Quoted(name));
    return RegDeleteValueA(key, name);
}
LONG CloseKey(HKEY key) {
    calls.push_back("Close " + KeyName(key));
    return RegCloseKey(key);
}
} // namespace regcalls

namespace {

const std::string kApp = "Software\\Harlund\\Tolvaring\\1.0";

clsRegistry Program() {
    clsRegistry r;
    r.Firma(L"Harlund");
    r.Produkt(L"Tolvaring");
    r.Version(L"1.0");
    return r;
}

clsRegistry NoIdentity() {
    return clsRegistry();
}

struct CallCase {
    const char* what;
    clsRegistry (*registry)();
    void (*act)(const clsRegistry&);
    std::vector<std::string> expected;
};

TEST(RegistryCalls, EachMemberMakesExactlyItsCalls) {
    DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
    DeleteTree(HKEY_CURRENT_USER, "Software\\Sec");
    const std::string get = "Open HKCU '" + kApp + "\\' 0 0x19 -> k1";
    const std::string create = "Create HKCU '" + kApp + "\\' class 'X' options 0 0x3F -> k1";
    const std::string open = "Open HKCU '" + kApp + "\\' 0 0x3F -> k2";
    const CallCase cases[] = {
        {"get from a missing key",
         Program,
         [](const clsRegistry& r) { r.Value(L"", L"URL"); },
         {get.substr(0, get.size() - 6) + " -> fail"}},
        {"set text",
         Program,
         [](const clsRegistry& r) { r.Value(L"", L"URL", SettingsValue(L"ab")); },
         {create, "Flush k1", "Close k1", open, "Set k2 'URL' 0 type 1 [61 62 0] 3", "Close k2"}},
        {"get text",
         Program,
         [](const clsRegistry& r) { r.Value(L"", L"URL"); },
         {get, "Query k1 'URL' size", "Query k1 'URL' buffer 3", "Close k1"}},
        {"set a 16-bit integer",
         Program,
         [](const clsRegistry& r) { r.Value(L"", L"N", SettingsValue::Integer16(-1)); },
         {create, "Flush k1", "Close k1", open, "Set k2 'N' 0 type 4 [FF FF FF FF] 4", "Close k2"}},
        {"set a 32-bit integer",
         Program,
         [](const clsRegistry& r) { r.Value(L"", L"N", SettingsValue::Integer32(258)); },
         {create, "Flush k1", "Close k1", open, "Set k2 'N' 0 type 4 [2 1 0 0] 4", "Close k2"}},
        {"get an integer",
         Program,
         [](const clsRegistry& r) { r.Value(L"", L"N"); },
         {get, "Query k1 'N' size", "Query k1 'N' buffer 4", "Close k1"}},
        {"set a kind that is not stored",
         Program,
         [](const clsRegistry& r) { r.Value(L"", L"B", SettingsValue::Boolean(true)); },
         {create, "Flush k1", "Close k1", open, "Close k2"}},
        {"delete from the application key",
         Program,
         [](const clsRegistry& r) { r.DelValue(L"", L"N"); },
         {"Open HKCU '" + kApp + "' 0 0x3F -> k1", "Delete k1 'N'", "Close k1"}},
        {"set in a section with a leading backslash",
         Program,
         [](const clsRegistry& r) { r.Value(L"\\Sub", L"S", SettingsValue(L"")); },
         {"Create HKCU '" + kApp + "\\\\Sub' class 'X' options 0 0x3F -> k1", "Flush k1",
          "Close k1", "Open HKCU '" + kApp + "\\\\Sub' 0 0x3F -> k2", "Set k2 'S' 0 type 1 [0] 1",
          "Close k2"}},
        {"get from that section",
         Program,
         [](const clsRegistry& r) { r.Value(L"\\Sub", L"S"); },
         {"Open HKCU '" + kApp + "\\Sub' 0 0x19 -> k1", "Query k1 'S' size",
          "Query k1 'S' buffer 1", "Close k1"}},
        {"delete from that section",
         Program,
         [](const clsRegistry& r) { r.DelValue(L"\\Sub", L"S"); },
         {"Open HKCU '" + kApp + "\\\\Sub' 0 0x3F -> k1", "Delete k1 'S'", "Close k1"}},
        {"set with no identity",
         NoIdentity,
         [](const clsRegistry& r) { r.Value(L"Sec", L"V", SettingsValue(L"x")); },
         {"Create HKCU 'Software\\\\\\\\Sec' class 'X' options 0 0x3F -> k1", "Flush k1",
          "Close k1", "Open HKCU 'Software\\\\\\\\Sec' 0 0x3F -> k2",
          "Set k2 'V' 0 type 1 [78 0] 2", "Close k2"}},
        {"get with no identity",
         NoIdentity,
         [](const clsRegistry& r) { r.Value(L"Sec", L"V"); },
         {"Open HKCU 'Software\\Sec' 0 0x19 -> k1", "Query k1 'V' size", "Query k1 'V' buffer 2",
          "Close k1"}},
        {"delete with no identity",
         NoIdentity,
         [](const clsRegistry& r) { r.DelValue(L"Sec", L"V"); },
         {"Open HKCU 'Software\\\\\\\\Sec' 0 0x3F -> k1", "Delete k1 'V'", "Close k1"}},
        {"get a value of another type",
         Program,
         [](const clsRegistry& r) {
             WriteRawValue(HKEY_CURRENT_USER, kApp, "Bin", REG_BINARY, "\x01");
             calls.clear();
             r.Value(L"", L"Bin");
         },
         {get, "Query k1 'Bin' size", "Close k1"}},
    };
    for (const CallCase& c : cases) {
        SCOPED_TRACE(c.what);
        const clsRegistry registry = c.registry();
        calls.clear();
        keyNames.clear();
        c.act(registry);
        EXPECT_EQ(calls, c.expected);
    }
    DeleteTree(HKEY_CURRENT_USER, "Software\\Harlund");
    DeleteTree(HKEY_CURRENT_USER, "Software\\Sec");
}

} // namespace
