#pragma once
// The program's command line: no argument is needed; one asks for the setup dialog.
// Portable: no windows.h.
#include <string>
#include <vector>

// Whether one of `arguments` (the program's name not among them) is "/einstellungen" or
// "/setup", in any case. Other arguments are ignored.
bool AsksForSetup(const std::vector<std::wstring>& arguments);
