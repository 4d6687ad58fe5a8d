#pragma once
// What the program's windows share in their making: the window class and the font.
#include <windows.h>

// Registers a window class for a form, with the icon `iconId` of the program's
// resources; returns the class name.
const wchar_t* RegisterFormClass(const wchar_t* className, WNDPROC proc, int iconId);

// The font that dialogs use for their controls, at the screen's DPI; shared, not owned.
HFONT DialogFont();
