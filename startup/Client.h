#pragma once
// The hand-off to the peer client: how Windows will run it, the FreePeers.ini it will
// therefore read, the address written there, and its start. Where the address goes is
// decided here and nowhere else.
#include <string>

// Before anything is fetched or written: AppError, about the folder, when the client's
// files in `folder` have paths too long for the platform or BearShare.exe is not there. A
// settings file must not land in a folder without its client.
void CheckClientFolder(const std::wstring& folder);

// Writes forcedIP (the address in double quotes) and bForcedIP=Yes into section Network of
// the FreePeers.ini that the client in `folder` will read, every other line as it is, and
// starts BearShare.exe from there with no arguments in a normal, activated window. The
// client is created first, suspended, so that how it will run is known before anything is
// written; when the write fails it is ended before it has run. AppError naming the file or
// program that failed; nothing this call made is left behind then.
void HandOff(const std::wstring& folder, const std::wstring& address);
