// The client's start in the program's test build and the test programs: as on Windows,
// unless TOLVARING_TEST_LAUNCH asks for what only Windows does: "740" (the client needs
// elevation: CreateProcess refuses it), "decline" (the user says No at the prompt). Our
// token is a standard user's under UAC (Wine's is an administrator's), unless it asks for
// "elevated" or "novirt" (virtualization not allowed: UAC off). The client's token is that
// of a client like BearShare (32-bit, no manifest), virtualized where our token allows it,
// unless it asks for "clientnotvirtualized" (a client Windows does not virtualize: a
// manifest of its own, or 64-bit) or "clientunknown" (its token cannot be asked).
// "mutexdenied": the one-copy mutex is an elevated first copy's, which Windows does not
// let us open. TOLVARING_TEST_SHELL_LOG, when set, names a file that gets, for each start
// through the shell, the class of the window passed and whether it is the active window.
#include "startup/Launch.h"

#include <cwchar>
#include <string>

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
    wchar_t log[MAX_PATH] = {}, owner[64] = L"none";
    if (GetEnvironmentVariableW(L"TOLVARING_TEST_SHELL_LOG", log, MAX_PATH) > 0) {
        if (info->hwnd) GetClassNameW(info->hwnd, owner, 64);
        const bool active = info->hwnd && GetForegroundWindow() == info->hwnd;
        std::string line(owner, owner + std::wcslen(owner)); // a class name is ASCII
        line += active ? " active\r\n" : "\r\n";
        HANDLE file = CreateFileW(log, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(file);
    }
    if (Asked(L"decline")) return SetLastError(ERROR_CANCELLED), FALSE;
    return ShellExecuteExW(info);
}

TokenFacts OwnToken() {
    return {Asked(L"elevated"), !Asked(L"novirt")};
}

// Wine's own answer is 0 for every token, so it is played here.
std::optional<bool> ClientVirtualized(HANDLE) {
    if (Asked(L"clientunknown")) return std::nullopt;
    const TokenFacts token = OwnToken();
    return !Asked(L"clientnotvirtualized") && !token.elevated && token.virtualizationAllowed;
}

HANDLE CreateCopyMutex(const wchar_t* name) {
    if (Asked(L"mutexdenied")) return SetLastError(ERROR_ACCESS_DENIED), nullptr;
    return CreateMutexW(nullptr, FALSE, name);
}
