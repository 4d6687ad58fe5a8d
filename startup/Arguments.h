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

// How the program was started (the program's name not among `arguments`): plainly, for the
// setup dialog ("/einstellungen" or "/setup"), or for the check start ("/pruefen",
// "/pr\u00FCfen" or "/check"), each in any case; the setup dialog wins over the check. An
// argument that begins with "/" or "-" and is none of these is refused: a mistyped
// "-pruefen" or "/pruefen:" must not become a start that writes and starts BearShare.
// Arguments that begin otherwise are ignored.
enum class StartKind { Plain, Setup, Check, UnknownSwitch };
StartKind KindOfStart(const std::vector<std::wstring>& arguments);

// The first argument that KindOfStart refuses; empty when there is none.
std::wstring UnknownSwitch(const std::vector<std::wstring>& arguments);
