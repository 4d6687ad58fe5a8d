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
// Windows 7 has update KB2533623).
//
// On a Windows 7 without that update the program can do less: SetDllDirectory("") drops
// the current folder from the search, the delay-loaded DLLs still come by their full path,
// and uxtheme and dwmapi, which Windows itself loads by name for the first window, are
// loaded from System32 here first, so those later loads find them in memory. What Windows
// or a system DLL loads by name beyond these (an input method, a shell extension in a
// box's process) still searches the program's folder before System32 there; no call of
// ours can change that without the update.
void RestrictDllSearch();
