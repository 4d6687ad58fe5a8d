#include "tests/win/HostileTest.h"

#include "common/Ansi.h"
#include "common/Handles.h"

#include <cwchar>

bool SetImmutable(const std::wstring& path, bool on) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name) return false;
    std::wstring command = std::wstring(L"Z:\\usr\\bin\\chattr ") + (on ? L"+i" : L"-i") + L" \"" +
                           FromAnsi(name) + L"\"";
    HeapFree(GetProcessHeap(), 0, name);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    KernelHandle thread(process.hThread), child(process.hProcess);
    const bool folder = GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY;
    return WaitUntil([&] {
        // A folder is writable when a new file can go in; each try a new name, since one
        // made just before the flag came stays.
        static int tries = 0;
        const std::wstring probe = path + L"\\probe" + std::to_wstring(++tries);
        KernelHandle h(CreateFileW(folder ? probe.c_str() : path.c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ, nullptr, folder ? CREATE_NEW : OPEN_EXISTING, 0,
                                   nullptr));
        const bool writable = static_cast<bool>(h);
        h.Reset();
        if (folder && writable) DeleteFileW(probe.c_str());
        return writable != on;
    });
}

LocalAppDataAs::LocalAppDataAs(const wchar_t* folder) : active_(folder != nullptr) {
    if (!active_) return;
    saved_ = ReadRawValue(HKEY_CURRENT_USER, kShellFolders, "Local AppData");
    RegKey key;
    RegOpenKeyExW(HKEY_CURRENT_USER, FromAnsi(kShellFolders).c_str(), 0, KEY_SET_VALUE,
                  key.Put());
    RegSetValueExW(key.Get(), L"Local AppData", 0, REG_EXPAND_SZ,
                   reinterpret_cast<const BYTE*>(folder),
                   static_cast<DWORD>((wcslen(folder) + 1) * sizeof(wchar_t)));
}

LocalAppDataAs::~LocalAppDataAs() {
    if (active_)
        WriteRawValue(HKEY_CURRENT_USER, kShellFolders, "Local AppData", saved_.type,
                      saved_.bytes);
}

std::wstring KnownFolderPath(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    SHGetKnownFolderPath(id, 0, nullptr, &path);
    const std::wstring result = path ? path : L"";
    CoTaskMemFree(path);
    return result;
}
