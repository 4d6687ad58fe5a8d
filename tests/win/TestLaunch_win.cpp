// The client's start in the program's test build and the test programs: as on Windows,
// unless TOLVARING_TEST_LAUNCH asks for what only Windows does: "740" (the client needs
// elevation: CreateProcess refuses it), "decline" (the user says No at the prompt). Our
// token is a standard user's under UAC (Wine's is an administrator's), unless it asks for
// "elevated" or "novirt" (virtualization not allowed: UAC off). The client's token is that
// of a client like BearShare (32-bit, no manifest), virtualized where our token allows it,
// unless it asks for "clientnotvirtualized" (a client Windows does not virtualize: a
// manifest of its own, or 64-bit) or "clientunknown" (its token cannot be asked).
// "faildelayload": a delay-loaded function is missing while the client waits suspended.
// "mutexdenied": the one-copy mutex is an elevated first copy's, which Windows does not
// let us open. TOLVARING_TEST_WINDOW_LOG, when set, names a file that gets a line for each
// start through the shell ("prompt over <class of the window passed>", and ", active" when
// it is the active window) and for each window brought to the front ("front <class>").
#include "startup/Launch.h"

#include <delayimp.h>

#include <cwchar>
#include <string>

static void Note(std::string line) {
    wchar_t log[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TOLVARING_TEST_WINDOW_LOG", log, MAX_PATH) == 0) return;
    line += "\r\n";
    HANDLE file = CreateFileW(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

static std::string ClassName(HWND window) {
    wchar_t name[64] = L"none";
    if (window) GetClassNameW(window, name, 64);
    return std::string(name, name + std::wcslen(name)); // a class name is ASCII
}

static bool Asked(const wchar_t* what) {
    wchar_t value[64] = {};
    GetEnvironmentVariableW(L"TOLVARING_TEST_LAUNCH", value, 64);
    return std::wcsstr(value, what) != nullptr;
}

BOOL LaunchProcess(const wchar_t* path, wchar_t* commandLine, DWORD flags, STARTUPINFOW* startup,
                   PROCESS_INFORMATION* process) {
    if (Asked(L"740")) return SetLastError(ERROR_ELEVATION_REQUIRED), FALSE;
    return CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                          startup, process);
}

BOOL LaunchThroughShell(SHELLEXECUTEINFOW* info) {
    const bool active = info->hwnd && GetForegroundWindow() == info->hwnd;
    Note("prompt over " + ClassName(info->hwnd) + (active ? ", active" : ""));
    if (Asked(L"decline")) return SetLastError(ERROR_CANCELLED), FALSE;
    return ShellExecuteExW(info);
}

TokenFacts OwnToken() {
    return {Asked(L"elevated"), !Asked(L"novirt")};
}

// Wine's own answer is 0 for every token, so it is played here. "faildelayload": a
// function of a delay-loaded DLL is missing, found while the client waits suspended.
std::optional<bool> ClientVirtualized(HANDLE) {
    if (Asked(L"faildelayload")) {
        DelayLoadInfo info = {};
        info.szDll = "SHELL32.dll";
        info.dlp.fImportByName = TRUE;
        info.dlp.szProcName = "SHGetKnownFolderPath";
        info.dwLastError = ERROR_PROC_NOT_FOUND;
        __pfnDliFailureHook2(dliFailGetProc, &info);
    }
    if (Asked(L"clientunknown")) return std::nullopt;
    const TokenFacts token = OwnToken();
    return !Asked(L"clientnotvirtualized") && !token.elevated && token.virtualizationAllowed;
}

HANDLE CreateCopyMutex(const wchar_t* name) {
    if (Asked(L"mutexdenied")) return SetLastError(ERROR_ACCESS_DENIED), nullptr;
    return CreateMutexW(nullptr, FALSE, name);
}

BOOL BringToFront(HWND window) {
    Note("front " + ClassName(window));
    return SetForegroundWindow(window);
}
