#pragma once
// Every message box of the program goes through here: MessageBoxW. The program's test
// build links its own definition, which also notes each box's caption and style for the
// tests, since the icon and the default button cannot be read from outside.
#include <windows.h>

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);
