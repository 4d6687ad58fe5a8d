#pragma once
// Where the DLLs that the program loads after its start come from: Windows' own folder,
// never the program's. Tolvaring.exe is often started from the Downloads folder, and a DLL
// placed beside it would otherwise run as Tolvaring ("Dynamic-Link Library Security",
// learn.microsoft.com). The delay-loaded DLLs (the common controls, the shell, COM) are
// loaded by their full System32 path, except comctl32 while an activation context is
// active, which then comes from the side-by-side store by its name. A delay-load that fails
// shows a German box naming the DLL and the function, ends a client created suspended, and
// ends the program with exit code 1.

// Call first: every later load searches System32 only (SetDefaultDllDirectories, where
// Windows 7 has update KB2533623; else SetDllDirectory("") at least drops the current
// folder, and the delay-loaded DLLs still come by their full path).
void RestrictDllSearch();
