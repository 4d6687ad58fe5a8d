#pragma once
// The hand-off to the peer client: how Windows will run it, the FreePeers.ini it will
// therefore read, the address written there, and its start. Where the address goes is
// decided here and nowhere else.
#include <windows.h>

#include <optional>
#include <string>

// Before anything is fetched or written: AppError, about the folder, when the client's
// files in `folder` have paths too long for the platform or BearShare.exe is not there. A
// settings file must not land in a folder without its client.
void CheckClientFolder(const std::wstring& folder);

// Writes forcedIP (the address in double quotes) and bForcedIP=Yes into section Network of
// the FreePeers.ini that the client in `folder` will read (without an address, bForcedIP=No
// alone: the client then finds its address itself), every other line as it is, and
// starts BearShare.exe from there with no arguments in a normal, activated window. The
// client is created first, suspended, so that how it will run is known before anything is
// written. AppError naming the file or program that failed. When the write fails, the
// client is ended before it has run and nothing this call made is left behind. A client
// that must be started through the elevation prompt is started after the write: a "Nein"
// there leaves the new address in FreePeers.ini, and the client not started; that prompt is
// asked for over `owner`, a window of ours, which is made active for it.
void HandOff(const std::wstring& folder, const std::optional<std::wstring>& address,
             HWND owner);

// The file that BearShare in `folder`, started now, would read its settings from, why, and
// the forcedIP it holds (none when it has no such key or is not there), and the failure a
// hand-off's write would meet (empty when it could write). Decided as HandOff decides: the
// client is created suspended and ended before it has run, and no file is changed. AppError
// as for HandOff when it cannot be created.
struct ClientReading {
    // Windows does not virtualize the client: Tolvaring runs as administrator, UAC is off, or
    // the client's own token says so (a manifest of its own, a 64-bit build).
    enum class Why { Copy, Elevated, WeAreElevated, UacOff, ClientNotVirtualized, NotProtected,
                     NoCopyYet };
    std::wstring file;
    Why why = Why::NoCopyYet;
    std::optional<std::wstring> forcedIP;
    std::wstring writeFailure;
};
ClientReading WhatTheClientReads(const std::wstring& folder);

// Ends the client that a hand-off has created suspended and not yet started, if there is
// one: for a failure that ends the program on the spot.
void EndClientNotStarted();
