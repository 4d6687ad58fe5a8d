#pragma once
// The hand-off to the peer client: the FreePeers.ini it will read, and its start. Where the
// address goes is decided here and nowhere else.
#include <string>

// Writes forcedIP (the address in double quotes) and bForcedIP=Yes into section Network
// of `iniFile`, or of the copy that Windows' file virtualization shows the client instead
// (see Client_win.cpp); every other line stays as it is. AppError naming the file that
// could not be written.
void WriteForcedAddress(const std::wstring& iniFile, const std::wstring& address);

// Starts `path` with no arguments in a normal, activated window; AppError on failure.
void StartProgram(const std::wstring& path);
