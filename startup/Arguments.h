#pragma once
// The program's command line: no argument is needed; one asks for the setup dialog.
// Portable: no windows.h.
#include <string>
#include <string_view>
#include <vector>

// The arguments of a command line as Windows gives it, after the program's name, split by
// the documented rules ("Parsing C++ command-line arguments", learn.microsoft.com): blanks
// separate, double quotes group, 2n backslashes before a quote make n and the quote
// groups, 2n+1 make n and a literal quote, "" inside quotes is a literal quote. The shell's
// own splitter would load shell32 at every start for this alone.
std::vector<std::wstring> CommandLineArguments(std::wstring_view commandLine);

// Whether one of `arguments` (the program's name not among them) is "/einstellungen" or
// "/setup", in any case. Other arguments are ignored.
bool AsksForSetup(const std::vector<std::wstring>& arguments);

// How the program was started: plainly, for the setup dialog, or for the check start
// ("/pruefen" or "/check", in any case). The setup dialog wins over the check.
enum class StartKind { Plain, Setup, Check };
StartKind KindOfStart(const std::vector<std::wstring>& arguments);
