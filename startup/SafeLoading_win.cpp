#include "startup/SafeLoading.h"

#include "common/ErrorText.h"
#include "common/MessageBox.h"
#include "common/Quote.h"
#include "common/Texts.h"
#include "startup/Client.h"

#include <windows.h>

#include <delayimp.h>

#include <cstring>
#include <string>

namespace {

std::wstring Widened(const char* ascii) {
    return std::wstring(ascii, ascii + std::strlen(ascii));
}

// Whether a context other than the process's default is active: then it may redirect
// comctl32 to version 6, which only a load by name gets.
bool ContextActive() {
    HANDLE context = nullptr;
    if (!GetCurrentActCtx(&context) || !context) return false;
    ReleaseActCtx(context);
    return true;
}

// A null result leaves the load to the helper's own LoadLibrary by name, which searches
// System32 alone where RestrictDllSearch could set that: for comctl32 under the context,
// and should System32's copy ever fail to load.
// `name` from System32 by its full path; null when it cannot be loaded from there. The
// altered search takes the DLLs it imports from System32 as well.
HMODULE LoadFromSystem32(const std::wstring& name) {
    wchar_t folder[MAX_PATH];
    const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    const std::wstring path = std::wstring(folder, n) + L"\\" + name;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

FARPROC WINAPI BeforeDelayLoad(unsigned notify, PDelayLoadInfo info) {
    if (notify != dliNotePreLoadLibrary) return nullptr;
    if (ContextActive() && _stricmp(info->szDll, "comctl32.dll") == 0) return nullptr;
    return reinterpret_cast<FARPROC>(LoadFromSystem32(Widened(info->szDll)));
}

// Without it, the failure would end the program as an unhandled exception: no box, and a
// client created suspended left behind.
[[noreturn]] FARPROC WINAPI DelayLoadFailed(unsigned, PDelayLoadInfo info) {
    const DWORD code = info->dwLastError;
    // The program imports by name only.
    const std::wstring function =
        info->dlp.fImportByName ? Widened(info->dlp.szProcName) : std::wstring(L"?");
    EndClientNotStarted();
    const std::wstring text =
        texts::SystemFunctionMissing(Quote(function), Quote(Widened(info->szDll)), ErrorText(code));
    ShowMessageBox(nullptr, text.c_str(), texts::kAppTitle, MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
    ExitProcess(1);
}

} // namespace

// The delay-load helper's hooks ("Understand the delay load helper function",
// learn.microsoft.com).
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = BeforeDelayLoad;
PfnDliHook __pfnDliFailureHook2 = DelayLoadFailed;
}

void RestrictDllSearch() {
    using SetDirectories = BOOL(WINAPI*)(DWORD);
    const auto set = reinterpret_cast<SetDirectories>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    if (set && set(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    SetDllDirectoryW(L"");
    // Windows loads these by name for our first window (themes, the desktop composition);
    // neither is a KnownDLL, so without the call above that load would search our folder
    // first. Loaded now by their full path, the later loads by name find them in memory.
    for (const wchar_t* name : {L"uxtheme.dll", L"dwmapi.dll"})
        LoadFromSystem32(name);
}
