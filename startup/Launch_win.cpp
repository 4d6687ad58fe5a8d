#include "startup/Launch.h"

#include "common/Handles.h"

BOOL LaunchProcess(const wchar_t* path, wchar_t* commandLine, DWORD flags, STARTUPINFOW* startup,
                   PROCESS_INFORMATION* process) {
    return CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                          startup, process);
}

BOOL LaunchThroughShell(SHELLEXECUTEINFOW* info) {
    return ShellExecuteExW(info);
}

TokenFacts OwnToken() {
    TokenFacts facts;
    KernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) return facts;
    DWORD size = 0;
    TOKEN_ELEVATION elevation{};
    if (GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size))
        facts.elevated = elevation.TokenIsElevated != 0;
    DWORD allowed = 0;
    if (GetTokenInformation(token.Get(), TokenVirtualizationAllowed, &allowed, sizeof allowed,
                            &size))
        facts.virtualizationAllowed = allowed != 0;
    return facts;
}

std::optional<bool> ClientVirtualized(HANDLE process) {
    KernelHandle token;
    if (!OpenProcessToken(process, TOKEN_QUERY, token.Put())) return std::nullopt;
    DWORD enabled = 0, size = 0;
    if (!GetTokenInformation(token.Get(), TokenVirtualizationEnabled, &enabled, sizeof enabled,
                             &size))
        return std::nullopt;
    return enabled != 0;
}

HANDLE CreateCopyMutex(const wchar_t* name) {
    return CreateMutexW(nullptr, FALSE, name);
}

BOOL BringToFront(HWND window) {
    return SetForegroundWindow(window);
}
