#pragma once
// The two platform calls that start the client, on their own, so that the program's test
// build can stand in for what only Windows does: refuse a program that needs elevation
// (error 740) and let the user decline the elevation prompt (error 1223).
#include <windows.h>

#include <shellapi.h>

// winerror.h of mingw-w64 lacks it.
#ifndef ERROR_ELEVATION_REQUIRED
#define ERROR_ELEVATION_REQUIRED 740L
#endif

BOOL LaunchProcess(const wchar_t* path, wchar_t* commandLine, DWORD flags, STARTUPINFOW* startup,
                   PROCESS_INFORMATION* process);
BOOL LaunchThroughShell(SHELLEXECUTEINFOW* info);
