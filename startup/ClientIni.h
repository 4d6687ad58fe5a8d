#pragma once
// The hand-off into the client's settings file, written where the client will read it.
#include <string>

// Writes forcedIP (the address in double quotes) and bForcedIP=Yes into section Network
// of `iniFile`, or of the copy that Windows' file virtualization shows the client instead
// (see ClientIni_win.cpp); every other line stays as it is. AppError naming the file that
// could not be written.
void WriteForcedAddress(const std::wstring& iniFile, const std::wstring& address);
