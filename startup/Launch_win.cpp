#include "startup/Launch.h"

BOOL LaunchProcess(const wchar_t* path, wchar_t* commandLine, DWORD flags, STARTUPINFOW* startup,
                   PROCESS_INFORMATION* process) {
    return CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, flags, nullptr, nullptr,
                          startup, process);
}

BOOL LaunchThroughShell(SHELLEXECUTEINFOW* info) {
    return ShellExecuteExW(info);
}
