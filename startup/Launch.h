#pragma once
// What only Windows decides, on its own, so that the program's test build can stand in for
// it: refuse a client that needs elevation (error 740), let the user decline the elevation
// prompt (error 1223), say how our own token and the client's run, deny a copy that is
// not elevated the one-copy mutex of an elevated first copy (error 5), and grant the
// foreground.
#include <windows.h>

#include <shellapi.h>

#include <optional>

// winerror.h of mingw-w64 lacks it.
#ifndef ERROR_ELEVATION_REQUIRED
#define ERROR_ELEVATION_REQUIRED 740L
#endif

BOOL LaunchProcess(const wchar_t* path, wchar_t* commandLine, DWORD flags, STARTUPINFOW* startup,
                   PROCESS_INFORMATION* process);
BOOL LaunchThroughShell(SHELLEXECUTEINFOW* info);

// Our own token, which a client started by CreateProcess inherits (GetTokenInformation:
// TokenElevation, TokenVirtualizationAllowed). Virtualization is allowed only while UAC is
// on and for a token that is not elevated; a fact the token does not give counts as false.
struct TokenFacts {
    bool elevated = false;
    bool virtualizationAllowed = false;
};
TokenFacts OwnToken();

// Whether Windows virtualizes the file writes of the created `process`: its own token says
// (TokenVirtualizationEnabled: "nonzero if virtualization is enabled for the token",
// TOKEN_INFORMATION_CLASS, learn.microsoft.com). Nothing when the token cannot be asked.
std::optional<bool> ClientVirtualized(HANDLE process);

// CreateMutexW with the default security, not owned.
HANDLE CreateCopyMutex(const wchar_t* name);

// SetForegroundWindow: whether the foreground is granted is Windows' to decide.
BOOL BringToFront(HWND window);
